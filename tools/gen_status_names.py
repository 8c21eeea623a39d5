#!/usr/bin/env python3
"""Writes diag/status_name_table.cpp, the table behind GetErrorName, from the status
constants of the published headers (one .tsv file per header, see tools/README.md).

    python3 tools/gen_status_names.py [HEADER_FOLDER] [OUTPUT_FILE]

HEADER_FOLDER defaults to tools/status-headers and OUTPUT_FILE to
diag/status_name_table.cpp, both relative to the repository root. The output depends
only on the input files: the same input gives the same bytes on every run.

Every rule that decides which value carries which text is in the section "The
composition rules" below, in the order in which they are applied. `--report` prints the
count of every family (by the first name of each text) after writing the file.
"""

import argparse
import csv
import os
import re
import sys
from collections import OrderedDict, defaultdict

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_HEADERS = os.path.join(REPO_ROOT, "tools", "status-headers")
DEFAULT_OUTPUT = os.path.join(REPO_ROOT, "diag", "status_name_table.cpp")

# The headers the table is built from, by file. winerror_psdk2003.tsv (an older winerror.h,
# kept for comparison) is deliberately not read.
HEADER_FILES = [
    "winerror", "wbemcli", "vfwmsgs", "mediaerr", "mmstream", "dinput", "dinputd",
    "dsound", "dmerror", "dplay8", "dvoice", "ddraw", "d3d9", "d3dx9", "dxfile",
    "d3dx9xof", "d3dxerr",
]


def facility(value):
    """The facility field as the headers' own facility codes read it: bits 16-27,
    so that DirectDraw's 0x8876xxxx is facility 0x876 and the earlier D3DX's
    0xC877xxxx is facility 0x877."""
    return (value >> 16) & 0xFFF


# ======================================================================================
# The composition rules
# ======================================================================================

# --- Rule 1: the families. -----------------------------------------------------------
# A header's constant can name a value only if its name begins with one of the prefixes
# of that header's family and the value lies in the family's own facility ("generic
# codes keep their generic names": DSERR_GENERIC = E_FAIL, DIERR_NOTFOUND =
# HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) and the like stay E_FAIL and
# ERROR_FILE_NOT_FOUND). An entry of a prefix list that does not end in "_" is a whole
# name. `low`/`high`, where given, are the lowest and highest value the family holds.
#
# (header, family, facilities, prefixes, low, high)
WIN32_PLAIN_PREFIXES = ("ERROR_", "RPC_S_", "RPC_X_", "DNS_", "WSA", "FRS_ERR_", "EPT_S_",
                        "OR_", "WAIT_TIMEOUT", "SCHED_E_SERVICE_NOT_LOCALSYSTEM")
OLE_COM_PREFIXES = ("OLE_", "DRAGDROP_", "CLASSFACTORY_", "CLASS_E_", "MARSHAL_", "DATA_",
                    "VIEW_", "REGDB_", "CAT_E_", "CS_E_", "CACHE_", "OLEOBJ_", "CLIENTSITE_",
                    "INPLACE_", "ENUM_", "CONVERT10_", "CLIPBRD_", "MK_", "CO_E_", "EVENT_S_",
                    "XACT_", "CONTEXT_", "SCHED_", "DV_E_")
FAMILIES = [
    ("winerror", "Win32 error numbers", None, WIN32_PLAIN_PREFIXES, 0x00000002, 0x00003700),
    ("winerror", "Win32 error numbers as HRESULTs", (7,), ("E_",), None, None),
    ("winerror", "Facility 0", (0,), ("E_", "CO_E_"), 0x80000000, 0x8000FFFF),
    ("winerror", "Facility 1", (1,), ("RPC_E_", "RPC_S_", "CO_E_"), None, None),
    ("winerror", "Facility 2", (2,), ("DISP_E_", "TYPE_E_"), None, None),
    ("winerror", "Facility 3", (3,), ("STG_S_", "STG_E_"), None, None),
    ("winerror", "Facility 4", (4,), OLE_COM_PREFIXES, None, None),
    ("winerror", "Facility 8", (8,), ("CO_S_", "CO_E_", "MEM_E_", "MK_E_NO_NORMALIZED"),
     None, None),
    ("winerror", "Facility 9", (9,),
     ("SEC_I_", "CRYPT_I_", "NTE_", "SEC_E_", "CRYPT_E_", "OSS_", "CERTSRV_E_", "XENROLL_E_",
      "TRUST_E_", "MSSIPOTF_E_", "ERROR_AUDITING_DISABLED", "ERROR_ALL_SIDS_FILTERED"),
     None, None),
    ("winerror", "Facility 11", (11,), ("TRUST_E_", "DIGSIG_E_", "PERSIST_E_", "CERT_E_"),
     None, None),
    ("winerror", "Facility 15", (15,), ("SPAPI_E_",), None, None),
    ("winerror", "Facility 16", (16,), ("SCARD_F_", "SCARD_E_", "SCARD_W_", "SCARD_P_"),
     None, None),
    # The stated range keeps out COMADMIN_E_CAT_DUPLICATE_PARTITION_SET_NAME and
    # COMADMIN_E_CAT_INVALID_PARTITION_SET_NAME (0x80110900-01), found only in this header.
    ("winerror", "Facility 17", (17,), ("COMADMIN_E_", "COMQC_E_", "MSDTC_E_"),
     0x80110401, 0x80110823),
    ("vfwmsgs", "DirectShow", (4,), ("VFW_S_", "VFW_E_"), None, None),
    ("dinput", "DirectInput", (4,), ("DIERR_",), None, None),
    ("dinputd", "DirectInput", (4,), ("DIERR_",), None, None),
    ("mediaerr", "Media objects", (4,), ("DMO_E_",), None, None),
    ("mmstream", "Multimedia streaming", (4,), ("MS_S_", "MS_E_"), None, None),
    ("wbemcli", "WMI", (4,), ("WBEM_S_", "WBEM_E_", "WBEMESS_E_", "WBEMMOF_E_"), None, None),
    ("dplay8", "DirectPlay 8", (0x15,), ("DPNERR_",), None, None),
    ("dvoice", "DirectPlay Voice", (0x15,),
     ("DV_FULLDUPLEX", "DV_HALFDUPLEX", "DV_PENDING", "DVERR_"), None, None),
    ("ddraw", "DirectDraw", (0x876,), ("DDERR_",), None, None),
    ("d3d9", "Direct3D 9", (0x876,), ("D3DERR_", "D3DOK_NOAUTOGEN"), None, None),
    ("d3dx9", "D3DX 9", (0x876,), ("D3DXERR_",), None, None),
    ("dxfile", ".x file interface", (0x876,), ("DXFILEERR_",), None, None),
    ("d3dx9xof", "D3DX 9 .x file interface", (0x876,), ("D3DXFERR_",), None, None),
    ("d3dxerr", "Earlier D3DX utility library", (0x877,), ("D3DXERR_",), None, None),
    ("dsound", "DirectSound", (0x878,), ("DS_NO_VIRTUALIZATION", "DSERR_"), None, None),
    ("dmerror", "DirectMusic", (0x878,), ("DMUS_S_", "DMUS_E_"), None, None),
]

# --- Rule 2: the success codes. --------------------------------------------------------
# 0 and 1 are the success codes, never the Win32 numbers 0 and 1 (nor any of the many
# other names that the headers give 0 and 1).
SUCCESS = OrderedDict([(0x00000000, "S_OK"), (0x00000001, "S_FALSE")])

# --- Rule 3: Win32 numbers and their HRESULT form. ---------------------------------------
# Every plain entry n also stands at 0x80070000 + n (HRESULT_FROM_WIN32) with the same
# text, except at these values, where the HRESULT form has the given text or, for None,
# no entry at all.
WIN32_LAST = 0x00003700
WIN32_HRESULT_EXCEPTIONS = OrderedDict([
    (0x00000000, None),
    (0x00000001, "ERROR_INVALID_FUNCTION"),
    (0x00000005, "E_ACCESSDENIED"),
    (0x00000006, "E_HANDLE"),
    (0x0000000E, "E_OUTOFMEMORY"),
    (0x00000057, "E_INVALIDARG"),
    (0x000000C8, None),
    (0x000000C9, None),
])

# --- Rule 4: the smart-card security codes. -----------------------------------------------
# This winerror.h gives these five SEC_E_ codes Win32 numbers 1266-1270; the table holds
# them as the facility-9 HRESULTs that every other version of the header gives them, and
# the Win32 numbers 1266-1270 have no entry.
MOVED_SEC_E = OrderedDict([
    ("SEC_E_SMARTCARD_CERT_REVOKED", 0x80090351),
    ("SEC_E_ISSUING_CA_UNTRUSTED", 0x80090352),
    ("SEC_E_REVOCATION_OFFLINE_C", 0x80090353),
    ("SEC_E_PKINIT_CLIENT_FAILURE", 0x80090354),
    ("SEC_E_SMARTCARD_CERT_EXPIRED", 0x80090355),
])

# --- Rule 5: range markers. ---------------------------------------------------------------
# Of the headers' *_FIRST / *_LAST names only these are entries: the 71 markers of the OLE
# and COM blocks of facility 4 (block name + suffix; None: the block has no such entry).
# At these values the marker's name is the text, over the documented code that shares
# the value (0x80040000 is OLE_E_FIRST, not OLE_E_OLEVERB). DIERR_DRIVERFIRST and
# DIERR_DRIVERLAST (rule 7) are the only other *_FIRST / *_LAST names in the table;
# CO_E_FIRST, CO_S_FIRST, EVENT_E_FIRST and the other markers are not entries.
MARKER_SUFFIXES = ("_S_FIRST", "_S_LAST", "_E_FIRST", "_E_LAST")
RANGE_MARKERS = OrderedDict([
    ("OLE", (0x00040000, 0x000400FF, 0x80040000, 0x800400FF)),
    ("DRAGDROP", (0x00040100, 0x0004010F, 0x80040100, 0x8004010F)),
    ("CLASSFACTORY", (0x00040110, 0x0004011F, 0x80040110, 0x8004011F)),
    ("MARSHAL", (0x00040120, 0x0004012F, 0x80040120, 0x8004012F)),
    ("DATA", (0x00040130, 0x0004013F, 0x80040130, 0x8004013F)),
    ("VIEW", (0x00040140, 0x0004014F, 0x80040140, 0x8004014F)),
    ("REGDB", (0x00040150, 0x0004015F, 0x80040150, 0x8004015F)),
    ("CAT", (None, None, 0x80040160, 0x80040161)),
    ("CS", (None, None, 0x80040164, 0x8004016F)),
    ("CACHE", (0x00040170, 0x0004017F, 0x80040170, 0x8004017F)),
    ("OLEOBJ", (0x00040180, 0x0004018F, 0x80040180, 0x8004018F)),
    ("CLIENTSITE", (0x00040190, 0x0004019F, 0x80040190, 0x8004019F)),
    ("INPLACE", (0x000401A0, 0x000401AF, None, 0x800401AF)),
    ("ENUM", (0x000401B0, 0x000401BF, 0x800401B0, 0x800401BF)),
    ("CONVERT10", (0x000401C0, 0x000401CF, 0x800401C0, 0x800401CF)),
    ("CLIPBRD", (0x000401D0, 0x000401DF, 0x800401D0, 0x800401DF)),
    ("MK", (0x000401E0, 0x000401EF, 0x800401E0, 0x800401EF)),
    ("XACT", (0x0004D000, 0x0004D010, 0x8004D000, 0x8004D029)),
    ("CONTEXT", (0x0004E000, 0x0004E02F, 0x8004E000, 0x8004E02F)),
])
MARKER_NAME = re.compile(r"_(FIRST|LAST)$")
OTHER_MARKER_ENTRIES = ("DIERR_DRIVERFIRST", "DIERR_DRIVERLAST")

# --- Rule 6: combined texts. ------------------------------------------------------------
# Where one value carries the names of two or three families, the text joins them with
# " & " in this order. These are the only combined texts. A value listed with its plain
# Win32 number also holds the text in its HRESULT form.
COMBINED_TEXTS = OrderedDict([
    ((0x0000000C, 0x8007000C), ("ERROR_INVALID_ACCESS", "DIERR_NOTACQUIRED")),
    ((0x00000015, 0x80070015), ("ERROR_NOT_READY", "DIERR_NOTINITIALIZED")),
    ((0x0000001E, 0x8007001E), ("ERROR_READ_FAULT", "DIERR_INPUTLOST")),
    ((0x00000077, 0x80070077), ("ERROR_BAD_DRIVER_LEVEL", "DIERR_BADDRIVERVER")),
    ((0x000000AA, 0x800700AA), ("ERROR_BUSY", "DIERR_ACQUIRED")),
    ((0x00000103, 0x80070103), ("ERROR_NO_MORE_ITEMS", "DIERR_NOMOREITEMS")),
    ((0x0000047E, 0x8007047E), ("ERROR_OLD_WIN_VERSION", "DIERR_OLDDIRECTINPUTVERSION")),
    ((0x00000481, 0x80070481), ("ERROR_RMODE_APP", "DIERR_BETADIRECTINPUTVERSION")),
    ((0x00000490, 0x80070490), ("ERROR_NOT_FOUND", "E_PROP_ID_UNSUPPORTED")),
    ((0x00000492, 0x80070492), ("ERROR_SET_NOT_FOUND", "E_PROP_SET_UNSUPPORTED")),
    ((0x000004DF, 0x800704DF), ("ERROR_ALREADY_INITIALIZED", "DIERR_ALREADYINITIALIZED")),
    ((0x00040001,), ("OLE_S_STATIC", "MS_S_PENDING", "WBEM_S_ALREADY_EXISTS")),
    ((0x00040002,), ("OLE_S_MAC_CLIPFORMAT", "MS_S_NOUPDATE", "WBEM_S_RESET_TO_DEFAULT")),
    ((0x00040003,), ("MS_S_ENDOFSTREAM", "WBEM_S_DIFFERENT")),
    ((0x80040200,), ("DIERR_INSUFFICIENTPRIVS", "VFW_E_INVALIDMEDIATYPE")),
    ((0x80040201,), ("DIERR_DEVICEFULL", "VFW_E_INVALIDSUBTYPE", "DMO_E_INVALIDSTREAMINDEX")),
    ((0x80040202,), ("DIERR_MOREDATA", "VFW_E_NEED_OWNER", "DMO_E_INVALIDTYPE")),
    ((0x80040203,), ("DIERR_NOTDOWNLOADED", "VFW_E_ENUM_OUT_OF_SYNC", "DMO_E_TYPE_NOT_SET")),
    ((0x80040204,), ("DIERR_HASEFFECTS", "VFW_E_ALREADY_CONNECTED", "DMO_E_NOTACCEPTING")),
    ((0x80040205,), ("DIERR_NOTEXCLUSIVEACQUIRED", "VFW_E_FILTER_ACTIVE",
                     "DMO_E_TYPE_NOT_ACCEPTED")),
    ((0x80040206,), ("DIERR_INCOMPLETEEFFECT", "VFW_E_NO_TYPES", "DMO_E_NO_MORE_ITEMS")),
    ((0x80040207,), ("DIERR_NOTBUFFERED", "VFW_E_NO_ACCEPTABLE_TYPES")),
    ((0x80040208,), ("DIERR_EFFECTPLAYING", "VFW_E_INVALID_DIRECTION")),
    ((0x80040209,), ("DIERR_UNPLUGGED", "VFW_E_NOT_CONNECTED")),
    ((0x8004020A,), ("DIERR_REPORTFULL", "VFW_E_NO_ALLOCATOR")),
    ((0x8004020B,), ("DIERR_MAPFILEFAIL", "VFW_E_RUNTIME_ERROR")),
    ((0x80040401,), ("DIERR_CANCELLED", "MS_E_SAMPLEALLOC")),
    ((0x80040402,), ("DIERR_BADINF", "MS_E_PURPOSEID")),
])
COMBINED_SEPARATOR = " & "

# --- Rule 7: the DirectInput driver range. -------------------------------------------------
# Besides its two markers, the values just after DIERR_DRIVERFIRST carry offset texts:
# the marker's name, "+" and the decimal offset, for offsets 1 to 5 only.
DRIVER_RANGE_MARKER = "DIERR_DRIVERFIRST"
DRIVER_RANGE_OFFSETS = range(1, 6)

# --- Rule 8: one value, names in two headers. -------------------------------------------
# Every value that two of the headers name differently, outside the combined texts
# (rule 6), is decided here; the generator stops if it meets one that is not.
#  * winerror.h's COM+ event block (EVENT_E_ names, 0x80040201-0x80040210, and its marker
#    EVENT_E_LAST at 0x8004021F) lies on DirectShow's, DirectInput's and the media
#    objects' codes. EVENT_E_ is not a prefix of the OLE and COM family (rule 1), so
#    those values carry the multimedia names.
#  * Direct3D 9 and DirectDraw share facility 0x876: at 0x8876017C the Direct3D name, at
#    0x8876021C the DirectDraw name.
#  * DirectSound's DSERR_OBJECTNOTFOUND and DirectMusic's DMUS_E_NOT_FOUND are both
#    0x88781161. The DirectSound family's values reach up to 0x88781161, so the value
#    carries the DirectSound name.
CROSS_HEADER_CHOICE = OrderedDict([
    (0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"),
    (0x8876021C, "DDERR_WASSTILLDRAWING"),
    (0x88781161, "DSERR_OBJECTNOTFOUND"),
])

# --- Rule 9: one value, several names in one header. ------------------------------------
# A name that is only another name (alias_of set, such as SEC_E_NOT_SUPPORTED =
# SEC_E_UNSUPPORTED_FUNCTION) is never chosen. Among the rest, a name that winerror.h
# documents with a MessageId block wins over one it does not; then the first definition
# in the header wins over a later one (0x00002328 is DNS_ERROR_RESPONSE_CODES_BASE, not
# DNS_ERROR_MASK).


def preference(constant):
    return (not constant.documented, constant.line)


# --- Rule 10: codes this winerror.h, vfwmsgs.h and dsound.h hold beyond the table. ------
# These headers are a little newer than the table's composition: with the rules above
# ERROR_ has 1 code too many, DNS_ 3, the OLE and COM blocks 1 success code, VFW_E_ 6 and
# DSERR_ 1, and no stated rule picks them. They are decisions, not facts of the headers;
# tools/status-headers/README.md lists them. Where the header's order shows what it added last, the last
# definitions go, never a value that the composition pins (a range end, a listed entry).
LEFT_OUT = OrderedDict([
    # The last Win32 code the header defines, and itself only the end marker of the IKE
    # negotiation-status block (its twin ERROR_IPSEC_IKE_NEG_STATUS_BEGIN stays).
    ("ERROR_IPSEC_IKE_NEG_STATUS_END", "winerror"),
    # The DNS block's newest codes, DNS_ERROR_DP_* (9901-9904), cannot go: 0x000026B0
    # (9904) is the family's stated highest value, and a block is not held with holes.
    # No order tells, so these go: the three answers of DnsValidateName for a name that
    # is valid (the form it has), the one set of DNS codes that describe an input rather
    # than report a failure or an event. The weakest of these decisions.
    ("DNS_STATUS_FQDN", "winerror"),
    ("DNS_STATUS_DOTTED_NAME", "winerror"),
    ("DNS_STATUS_SINGLE_PART_NAME", "winerror"),
    # COM+ events lie on DirectInput's and DirectShow's facility-4 numbers; their error
    # side is left to the multimedia names (rule 8). Of the two success codes the later
    # definition goes; the first, 0x00040200, is also the block's first value.
    ("EVENT_S_NOSUBSCRIBERS", "winerror"),
    # The six VFW_E_ codes the header defines last (0x80040296-0x8004029B); the family's
    # range ends (0x8004020C, 0x800403F2) are untouched.
    ("VFW_E_VMR_NOT_IN_MIXER_MODE", "vfwmsgs"),
    ("VFW_E_VMR_NO_AP_SUPPLIED", "vfwmsgs"),
    ("VFW_E_VMR_NO_DEINTERLACE_HW", "vfwmsgs"),
    ("VFW_E_VMR_NO_PROCAMP_HW", "vfwmsgs"),
    ("VFW_E_DVD_VMR9_INCOMPATIBLEDEC", "vfwmsgs"),
    ("VFW_E_NO_COPP_HW", "vfwmsgs"),
    # dsound.h defines it last and out of its ascending order (220 after 4449): the one
    # code appended after the rest. DSERR_OBJECTNOTFOUND is the family's highest value.
    ("DSERR_FXUNAVAILABLE", "dsound"),
])


# ======================================================================================
# Reading the headers and applying the rules
# ======================================================================================

class Constant:
    __slots__ = ("value", "name", "header", "line", "alias_of", "documented")

    def __init__(self, row, header):
        self.value = int(row["value"], 16)
        self.name = row["name"]
        self.header = header
        self.line = int(row["line"])
        self.alias_of = row["alias_of"]
        self.documented = row["messageid"] == "yes"


def read_headers(folder):
    constants = []
    for header in HEADER_FILES:
        path = os.path.join(folder, header + ".tsv")
        with open(path, newline="", encoding="ascii") as f:
            for row in csv.DictReader(f, delimiter="\t"):
                constants.append(Constant(row, header))
    return constants


def starts_with_prefix(name, prefixes):
    return any(name.startswith(p) if p.endswith("_") or p == "WSA" else name == p
               for p in prefixes)


def family_of(constant):
    """The family (rule 1) in which this constant is a candidate name, or None."""
    for header, family, facilities, prefixes, low, high in FAMILIES:
        if header != constant.header or not starts_with_prefix(constant.name, prefixes):
            continue
        if facilities is None:
            in_family = low <= constant.value <= high
        else:
            in_family = facility(constant.value) in facilities
            if low is not None and not low <= constant.value <= high:
                in_family = False
        if in_family:
            return family
    return None


def marker_names():
    names = {}
    for block, values in RANGE_MARKERS.items():
        for suffix, value in zip(MARKER_SUFFIXES, values):
            if value is not None:
                names[block + suffix] = value
    return names


def compose(constants):
    """Applies the rules in order; returns {value: text}, sorted by value."""
    markers = marker_names()
    by_name = {c.name: c for c in constants}
    moved = dict(MOVED_SEC_E)

    # The candidate names of every value: rules 1, 4, 5, 10 and the alias part of rule 9.
    for name, header in LEFT_OUT.items():
        if by_name.get(name) is None or by_name[name].header != header:
            raise SystemExit("%s is not defined in %s.h" % (name, header))
    candidates = defaultdict(list)
    for c in constants:
        if c.alias_of or c.value in SUCCESS or c.name in LEFT_OUT:
            continue
        if c.name in moved:
            if c.header != "winerror":
                raise SystemExit("%s is expected in winerror.h" % c.name)
            candidates[moved[c.name]].append(c)
            continue
        if MARKER_NAME.search(c.name) and c.name not in markers \
                and c.name not in OTHER_MARKER_ENTRIES:
            continue
        if family_of(c) is None:
            continue
        candidates[c.value].append(c)

    # Rule 2, then one text per value: rule 8 between headers, rule 5 for the markers,
    # rule 9 within one header. A value of two headers that rule 8 does not decide must
    # be a combined text (rule 6, checked below).
    table = OrderedDict(SUCCESS)
    for value in sorted(candidates):
        names = candidates[value]
        if value in CROSS_HEADER_CHOICE:
            chosen = CROSS_HEADER_CHOICE[value]
            if chosen not in [c.name for c in names]:
                raise SystemExit("0x%08X: %s is not among its names" % (value, chosen))
            table[value] = chosen
        elif any(markers.get(c.name) == value for c in names):
            table[value] = next(c.name for c in names if markers.get(c.name) == value)
        elif len({c.header for c in names}) > 1:
            table[value] = None
        else:
            table[value] = min(names, key=preference).name
    for name, value in markers.items():
        if table.get(value) != name:
            raise SystemExit("range marker %s is not defined as 0x%08X" % (name, value))

    # Rule 3: the HRESULT form of every plain Win32 entry, and the exceptions.
    for n in [v for v in table if v <= WIN32_LAST]:
        hresult = 0x80070000 + n
        if n in WIN32_HRESULT_EXCEPTIONS:
            continue
        if table.get(hresult) is not None:
            raise SystemExit("0x%08X is already %s" % (hresult, table[hresult]))
        table[hresult] = table[n]
    for n, text in WIN32_HRESULT_EXCEPTIONS.items():
        hresult = 0x80070000 + n
        if text is None:
            table.pop(hresult, None)
        elif text.startswith("E_"):
            if table.get(hresult) != text:
                raise SystemExit("0x%08X is not %s in winerror.h" % (hresult, text))
        else:
            if by_name[text].value != n:
                raise SystemExit("%s is not the Win32 number %d" % (text, n))
            table[hresult] = text

    # Rule 6: the combined texts; each name must be defined as one of the text's values.
    for values, parts in COMBINED_TEXTS.items():
        for part in parts:
            c = by_name.get(part)
            if c is None or c.value not in values:
                raise SystemExit("%s is not defined as 0x%08X" % (part, values[-1]))
        for value in values:
            table[value] = COMBINED_SEPARATOR.join(parts)

    # Rule 7: the DirectInput driver range.
    first = by_name[DRIVER_RANGE_MARKER].value
    for offset in DRIVER_RANGE_OFFSETS:
        if table.get(first + offset) is not None:
            raise SystemExit("0x%08X is already %s" % (first + offset, table[first + offset]))
        table[first + offset] = "%s+%d" % (DRIVER_RANGE_MARKER, offset)

    unresolved = ["0x%08X (%s)" % (v, ", ".join(c.name for c in candidates[v]))
                  for v, t in table.items() if t is None]
    if unresolved:
        raise SystemExit("named by two headers, and no rule decides: " + "; ".join(unresolved))
    return OrderedDict(sorted(table.items()))


# ======================================================================================
# Writing the table
# ======================================================================================

def identifier(text):
    """The C++ name of a text's array: kName_ + the text, with '&' and '+' spelled out."""
    return "kName_" + re.sub(r"[^A-Za-z0-9_]", "_",
                             text.replace(" & ", "_AND_").replace("+", "_PLUS_"))


def render(table):
    texts = []
    seen = {}
    for text in table.values():
        if text not in seen:
            seen[text] = identifier(text)
            texts.append(text)
    ids = list(seen.values())
    if len(set(ids)) != len(ids):
        raise SystemExit("two texts map to one identifier")
    out = ["// Generated by tools/gen_status_names.py from the published headers; do not edit.",
           '#include "diag/status_name_table.h"',
           "",
           "// The names, each text once: the plain and the HRESULT form of a Win32 code share one.",
           ]
    for text in sorted(texts):
        out.append('static const char %s[] = "%s";' % (seen[text], text))
    out.append("")
    out.append("const StatusName kStatusNameTable[] = {")
    for value, text in table.items():
        out.append("    {0x%08Xu, %s}," % (value, seen[text]))
    out.append("};")
    out.append("const size_t kStatusNameCount = sizeof(kStatusNameTable) / sizeof(kStatusNameTable[0]);")
    out.append("")
    return "\n".join(out)


def report(table):
    counts = defaultdict(int)
    for value, text in table.items():
        first = re.split(r" & |\+", text)[0]
        m = re.match(r"[A-Z0-9]+_([A-Z]_)?", first)
        prefix = m.group(0) if m else first
        counts[(facility(value), value >> 31, prefix)] += 1
    for key in sorted(counts):
        print("facility 0x%03X %s %-20s %5d" % (key[0], "E" if key[1] else "S", key[2],
                                                 counts[key]))
    print("entries", len(table), "texts", len(set(table.values())))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("headers", nargs="?", default=DEFAULT_HEADERS)
    parser.add_argument("output", nargs="?", default=DEFAULT_OUTPUT)
    parser.add_argument("--report", action="store_true")
    args = parser.parse_args(argv)
    table = compose(read_headers(args.headers))
    data = render(table).encode("ascii")
    with open(args.output, "wb") as f:
        f.write(data)
    if args.report:
        report(table)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
