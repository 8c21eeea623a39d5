#!/usr/bin/env bash
# Every fuzz target for a few seconds from its seed corpus (tools/fuzz.sh; `make fuzz` runs them
# longer). Skipped, with the reason, where clang has no libFuzzer.
exec bash "${FONTLOOM_SOURCE_DIR:?}/tools/fuzz.sh" "${FONTLOOM_BUILD_DIR:?}-fuzz" "${FUZZ_SECONDS:-7}"
