#!/usr/bin/env bash
# A short soak of the headless program (tools/soak.sh; `make soak` runs it for minutes).
exec bash "${FONTLOOM_SOURCE_DIR:?}/tools/soak.sh" "${FONTLOOM_BUILD_DIR:?}" "${SOAK_SECONDS:-15}"
