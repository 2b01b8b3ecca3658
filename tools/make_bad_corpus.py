#!/usr/bin/python3
"""Writes the corpus of broken input files under tests/data/bad/ and its
MANIFEST (file, reader, expected outcome, reason; tab-separated).

Every file starts from a small well-formed message made with ecCodes (or a
well-formed boundary, shoreline, track or gzip file made here) and breaks
one thing in it. Readers:
  grib      TGribData::LoadFromStream on the bytes
  gzip      Gunzip, then LoadFromStream when it succeeds
  countries, gshhs, gpx   TCartogList::LoadFromBytes with a name of that kind
  netcdf    DecodeDataFile on the bytes (samplelib/badnetcdf.py writes them)
Outcomes:
  reject    the reader returns false and says why
  no-track  (track files) the broken segment is left out
  constant  a legal field of bit width 0: every point has one value
  decodes   a sound message of a grid kind the decoder reads, kept beside
            its broken variants (for gzip: the file reads and decodes; for
            the g1-multi files: the first message decodes)
  known-fault  not yet handled soundly (the reason says how); read for
            memory safety only

The same script writes the seed messages of the fuzz targets (--seeds).

Run with Debian's interpreter (python3-eccodes, python3-netcdf4):
  /usr/bin/python3 tools/make_bad_corpus.py [--seeds]
"""
import gzip
import os
import struct
import sys
import zlib

import eccodes as ec

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from samplelib import badnetcdf  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BAD_DIR = os.path.join(ROOT, "tests", "data", "bad")
SEED_DIR = os.path.join(ROOT, "fuzz", "corpus")

NX, NY = 12, 10


# ---------------------------------------------------------------- messages

def _values(missing=None):
    # Uneven values, so that complex packing makes groups of several widths.
    vals = [float((i * i * 37 + i * 11) % 97 + (i // NX) * 3) for i in range(NX * NY)]
    if missing is not None:
        for i in range(0, NX * NY, 9):
            vals[i] = missing
    return vals


def _encode(sample, keys, values, missing=None, packing_type=None):
    h = ec.codes_grib_new_from_samples(sample)
    try:
        for k, v in keys.items():
            if isinstance(v, float):
                ec.codes_set_double(h, k, v)
            else:
                ec.codes_set_long(h, k, v)
        if missing is not None:
            ec.codes_set_double(h, "missingValue", missing)
            ec.codes_set_long(h, "bitmapPresent", 1)
        ec.codes_set_long(h, "bitsPerValue", 8)
        ec.codes_set_values(h, values)
        if packing_type:
            # ecCodes repacks the values it holds.
            ec.codes_set_string(h, "packingType", packing_type)
            ec.codes_set_long(h, "orderOfSpatialDifferencing", 2)
            ec.codes_set_values(h, values)
        return bytes(ec.codes_get_message(h))
    finally:
        ec.codes_release(h)


POLAR_KEYS = {
    "Nx": NX, "Ny": NY,
    "latitudeOfFirstGridPointInDegrees": 60.0,
    "longitudeOfFirstGridPointInDegrees": 320.0,
    "orientationOfTheGridInDegrees": 315.0,
    "DxInMetres": 25000, "DyInMetres": 25000,
    "scanningMode": 0x40,
}


def grib1_polar(parameter=91, date=None, centre=None, process=None):
    """Ice concentration (or another parameter) on a small polar grid, with
    a bit map."""
    keys = dict(POLAR_KEYS, indicatorOfParameter=parameter, table2Version=3)
    if date is not None:
        keys["dataDate"] = date
    if centre is not None:
        keys.update(centre=centre, generatingProcessIdentifier=process)
    return _encode("polar_stereographic_sfc_grib1", keys, _values(9999.0), missing=9999.0)


def grib1_latlon():
    """Sea-surface temperature on a small lat-lon grid, no bit map."""
    keys = {"Ni": NX, "Nj": NY, "latitudeOfFirstGridPointInDegrees": 80.0,
            "longitudeOfFirstGridPointInDegrees": 0.0, "latitudeOfLastGridPointInDegrees": 71.0,
            "longitudeOfLastGridPointInDegrees": 11.0, "iDirectionIncrementInDegrees": 1.0,
            "jDirectionIncrementInDegrees": 1.0, "indicatorOfParameter": 11}
    return _encode("GRIB1", keys, [v + 270.0 for v in _values()])


def grib2_polar():
    """A polar grid with a bit map and simple packing."""
    keys = dict(POLAR_KEYS, discipline=10, parameterCategory=2, parameterNumber=0)
    return _encode("polar_stereographic_sfc_grib2", keys, _values(9999.0), missing=9999.0)


def grib2_latlon_simple():
    keys = {"Ni": NX, "Nj": NY, "latitudeOfFirstGridPointInDegrees": 80.0,
            "longitudeOfFirstGridPointInDegrees": 0.0, "latitudeOfLastGridPointInDegrees": 71.0,
            "longitudeOfLastGridPointInDegrees": 11.0, "iDirectionIncrementInDegrees": 1.0,
            "jDirectionIncrementInDegrees": 1.0, "discipline": 10, "parameterCategory": 3,
            "parameterNumber": 0}
    return _encode("GRIB2", keys, [v + 270.0 for v in _values()])


def _bits(values, width):
    """Big-endian bit string of the values, padded to whole octets."""
    acc, n = 0, 0
    for v in values:
        acc = (acc << width) | v
        n += width
    pad = (-n) % 8
    return (acc << pad).to_bytes((n + pad) // 8, "big") if n else b""


def _sign_magnitude(value, octets):
    bits = octets * 8
    raw = abs(value) | ((1 << (bits - 1)) if value < 0 else 0)
    return raw.to_bytes(octets, "big")


def grib2_complex(group=10):
    """The lat-lon message repacked with complex packing and second-order
    spatial differencing (template 5.3), groups of `group` values. ecCodes
    here writes order 0 for this packing, so the packing is done here."""
    x = [int(v) for v in _values()]
    z = [x[i] - 2 * x[i - 1] + x[i - 2] for i in range(2, len(x))]
    bias = min(z)
    packed = [0, 0] + [v - bias for v in z]
    groups = [packed[i:i + group] for i in range(0, len(packed), group)]
    refs = [min(g) for g in groups]
    widths = [max(max(g) - r, 0).bit_length() for g, r in zip(groups, refs)]
    ref_bits = max(max(refs).bit_length(), 1)
    width_bits = max(max(widths).bit_length(), 1)
    data = _sign_magnitude(x[0], 2) + _sign_magnitude(x[1], 2) + _sign_magnitude(bias, 2)
    data += _bits(refs, ref_bits) + _bits(widths, width_bits) + _bits([0] * len(groups), 1)
    acc = []
    for g, r, w in zip(groups, refs, widths):
        acc += [(v - r, w) for v in g]
    total = sum(w for _, w in acc)
    word = 0
    for v, w in acc:
        word = (word << w) | v
    pad = (-total) % 8
    data += (word << pad).to_bytes((total + pad) // 8, "big") if total else b""
    s5 = struct.pack(">IBIH", 49, 5, len(x), 3)
    s5 += struct.pack(">fhhB", 0.0, 0, 0, ref_bits)
    s5 += struct.pack(">BBBII", 0, 1, 0, 0xFFFFFFFF, 0xFFFFFFFF)
    s5 += struct.pack(">IBBIBIBBB", len(groups), 0, width_bits, group, 1, len(groups[-1]), 1, 2, 2)
    assert len(s5) == 49
    s7 = struct.pack(">IB", 5 + len(data), 7) + data
    parts = []
    for n, p in _grib2_parts(grib2_latlon_simple()):
        parts.append(s5 if n == 5 else s7 if n == 7 else p)
    return _grib2_rebuild(grib2_latlon_simple(), parts)


def other_grid(sample, grid_type):
    """A small field on one of the other grid kinds the decoder reads."""
    h = ec.codes_grib_new_from_samples(sample)
    try:
        ec.codes_set_string(h, "gridType", grid_type)
        sides = ("Ni", "Nj") if grid_type == "rotated_ll" else ("Nx", "Ny")
        ec.codes_set_long(h, sides[0], NX)
        ec.codes_set_long(h, sides[1], NY)
        if grid_type == "lambert":
            # The sample's cone (both standard parallels on the equator, the
            # first point on the pole, no grid length) places nothing.
            for key, value in (("Latin1InDegrees", 25.0), ("Latin2InDegrees", 25.0), ("LoVInDegrees", 265.0),
                               ("latitudeOfFirstGridPointInDegrees", 20.0),
                               ("longitudeOfFirstGridPointInDegrees", 235.0)):
                ec.codes_set_double(h, key, value)
            ec.codes_set_long(h, "DxInMetres", 40000)
            ec.codes_set_long(h, "DyInMetres", 40000)
        ec.codes_set_long(h, "bitsPerValue", 8)
        ec.codes_set_values(h, _values())
        return bytes(ec.codes_get_message(h))
    finally:
        ec.codes_release(h)


# Grid kinds read besides polar stereographic and lat-lon, by edition.
OTHER_GRIDS = [("GRIB1", "lambert"), ("GRIB1", "space_view"), ("GRIB1", "rotated_ll"), ("GRIB2", "rotated_ll"),
               ("GRIB2", "space_view")]

# Inputs the readers do not yet handle soundly: the test checks only that
# reading them is memory-safe and reports them as skipped with the reason.
KNOWN_FAULTS = {}


# ------------------------------------------------------------ GRIB layout

def grib1_sections(msg):
    """Offsets (start, length) of the PDS, GDS, BMS (or None) and BDS."""
    pos = 8
    pds = (pos, int.from_bytes(msg[pos:pos + 3], "big"))
    flag = msg[pos + 7]
    pos += pds[1]
    gds = bms = None
    if flag & 0x80:
        gds = (pos, int.from_bytes(msg[pos:pos + 3], "big"))
        pos += gds[1]
    if flag & 0x40:
        bms = (pos, int.from_bytes(msg[pos:pos + 3], "big"))
        pos += bms[1]
    bds = (pos, int.from_bytes(msg[pos:pos + 3], "big"))
    return {"pds": pds, "gds": gds, "bms": bms, "bds": bds}


def grib2_sections(msg):
    """(number, start, length) of every section after section 0."""
    out = []
    pos = 16
    while msg[pos:pos + 4] != b"7777":
        length = int.from_bytes(msg[pos:pos + 4], "big")
        out.append((msg[pos + 4], pos, length))
        pos += length
    return out


def grib2_section(msg, number):
    for n, start, length in grib2_sections(msg):
        if n == number:
            return start, length
    raise KeyError(number)


def put(msg, offset, value, width):
    b = bytearray(msg)
    b[offset:offset + width] = value.to_bytes(width, "big")
    return bytes(b)


def grib1_total(msg, total):
    return put(msg, 4, total, 3)


def grib2_total(msg, total):
    return put(msg, 8, total, 8)


def grib2_fix_total(msg):
    return grib2_total(msg, len(msg))


# ------------------------------------------------------- broken GRIB files

def grib1_cases():
    m = grib1_polar()
    s = grib1_sections(m)
    pds, gds, bms, bds = s["pds"][0], s["gds"][0], s["bms"][0], s["bds"][0]
    cases = [
        ("g1-signature-only", m[:4], "only the \"GRIB\" signature"),
        ("g1-cut-in-section0", m[:6], "ends inside the indicator section"),
        ("g1-cut-after-section0", m[:8], "ends after the indicator section"),
        ("g1-cut-in-pds", m[:pds + 10], "ends inside the product definition section"),
        ("g1-cut-after-pds", m[:gds], "ends after the product definition section"),
        ("g1-cut-in-gds", m[:gds + 12], "ends inside the grid description section"),
        ("g1-cut-after-gds", m[:bms], "ends after the grid description section"),
        ("g1-cut-in-bms", m[:bms + 8], "ends inside the bit map section"),
        ("g1-cut-after-bms", m[:bds], "ends after the bit map section"),
        ("g1-cut-in-bds", m[:bds + 11], "ends inside the binary data section header"),
        ("g1-cut-in-data", m[:len(m) - 20], "ends inside the packed data"),
        ("g1-no-end-marker", m[:len(m) - 4], "the \"7777\" end marker is missing"),
        ("g1-total-beyond-data", grib1_total(m, len(m) + 1000), "total length beyond the data"),
        ("g1-total-huge", grib1_total(m, 0xFFFFFF), "total length of 16 MiB on a small file"),
        ("g1-total-zero", grib1_total(m, 0), "total length 0"),
        ("g1-pds-length-zero", put(m, pds, 0, 3), "product definition section length 0"),
        ("g1-pds-length-beyond", put(m, pds, 0xFFFFFF, 3), "product definition section length beyond the message"),
        ("g1-gds-length-zero", put(m, gds, 0, 3), "grid description section length 0"),
        ("g1-gds-length-beyond", put(m, gds, 0xFFFFFF, 3), "grid description section length beyond the message"),
        ("g1-bms-length-zero", put(m, bms, 0, 3), "bit map section length 0"),
        ("g1-bms-length-beyond", put(m, bms, 0xFFFFFF, 3), "bit map section length beyond the message"),
        ("g1-bds-length-zero", put(m, bds, 0, 3), "binary data section length 0"),
        ("g1-bds-length-beyond", put(m, bds, 0xFFFFFF, 3), "binary data section length beyond the message"),
        ("g1-no-gds", put(m, pds + 7, m[pds + 7] & ~0x80 & 0xFF, 1), "no grid description section announced"),
        ("g1-nx-zero", put(m, gds + 6, 0, 2), "grid of 0 columns"),
        ("g1-ny-zero", put(m, gds + 8, 0, 2), "grid of 0 rows"),
        ("g1-grid-huge", put(put(m, gds + 6, 0xFFFF, 2), gds + 8, 0xFFFF, 2), "grid of 65535 x 65535 points"),
        ("g1-grid-beyond-picture", put(put(m, gds + 6, 20000, 2), gds + 8, 1, 2),
         "20000 columns: a picture side beyond the caps"),
        ("g1-grid-points-beyond-cap", put(put(m, gds + 6, 16384, 2), gds + 8, 16384, 2),
         "16384 x 16384 points: beyond the grid point cap"),
        ("g1-bits-33", put(m, bds + 10, 33, 1), "33 bits per value"),
        ("g1-bits-255", put(m, bds + 10, 255, 1), "255 bits per value"),
        ("g1-bits-too-wide-for-data", put(m, bds + 10, 32, 1), "32 bits per value, more than the data hold"),
        ("g1-bitmap-short", _grib1_short_bitmap(m, s), "bit map shorter than the grid"),
        ("g1-predefined-bitmap", put(m, bms + 4, 5, 2), "predefined bit map that is not available"),
        ("g1-gds-short-for-polar", _grib1_short_gds(m, s), "grid description too short for its grid type"),
        ("g1-unknown-grid-type", put(m, gds + 5, 201, 1), "grid type 201"),
        ("g1-complex-packing-flag", put(m, bds + 3, m[bds + 3] | 0x40, 1), "data flags ask for complex packing"),
        ("g1-dx-zero", put(put(m, gds + 20, 0, 3), gds + 23, 0, 3), "polar grid lengths of 0 m"),
        ("g1-edition-3", put(m, 7, 3, 1), "edition 3"),
        ("g1-edition-0", put(m, 7, 0, 1), "edition 0"),
        ("g1-first-lat-91", put(m, gds + 10, 91000, 3), "first grid point latitude 91 degrees"),
        ("g1-first-lat-minus-91", put(m, gds + 10, 0x800000 | 91000, 3), "first grid point latitude -91 degrees"),
        ("g1-first-lat-7fffff", put(m, gds + 10, 0x7FFFFF, 3), "first grid point latitude 0x7FFFFF"),
        ("g1-first-lat-missing", put(m, gds + 10, 0xFFFFFF, 3), "first grid point latitude all ones (missing)"),
        ("g1-dy-zero", put(m, gds + 23, 0, 3), "polar grid length of 0 m along y only"),
        ("g1-data-flag-octet14", put(m, bds + 3, m[bds + 3] | 0x10, 1),
         "data flags announce additional flags at octet 14"),
        ("g1-unused-bits-eat-data", _grib1_unused_bits(m, s), "unused-bit count leaves fewer bits than the values need"),
        ("g1-bms-unused-200", put(m, bms + 3, 200, 1), "bit map section counts 200 unused bits"),
        ("g1-bms-unused-eat-bits", _grib1_bitmap_unused(m, s), "unused bits leave the bit map short of the grid"),
    ]
    ll = grib1_latlon()
    ll_gds = grib1_sections(ll)["gds"][0]
    cases += [
        ("g1-latlon-last-lat-minus-91", put(ll, ll_gds + 17, 0x800000 | 91000, 3), "last grid point latitude -91 degrees"),
        ("g1-latlon-no-lat-span", put(ll, ll_gds + 17, 80000, 3), "ten rows between equal latitudes"),
    ]
    return cases


def _grib1_unused_bits(m, s):
    """An unused-bit count one more than the padding the data section has."""
    bds, length = s["bds"]
    present = sum(bin(b).count("1") for b in m[s["bms"][0] + 6:s["bms"][0] + s["bms"][1]])
    present = min(present, NX * NY)
    slack = (length - 11) * 8 - present * m[bds + 10]
    return put(m, bds + 3, (m[bds + 3] & 0xF0) | (slack + 1), 1)


def _grib1_bitmap_unused(m, s):
    """An unused-bit count of the bit map one more than its padding."""
    bms, length = s["bms"]
    return put(m, bms + 3, (length - 6) * 8 - NX * NY + 1, 1)


def grib1_sound_cases():
    """Messages that other producers write and the decoder must read."""
    m = grib1_polar()
    s = grib1_sections(m)
    osisaf = grib1_polar(centre=88, process=1)
    return [
        ("g1-scanning-columns", put(m, s["gds"][0] + 27, 0x60, 1), "points stored column by column from the south"),
        ("g1-extended-gds-42", _grib1_resize_gds(osisaf + b"", grib1_sections(osisaf), 42),
         "a 42-octet extended grid section: too short for the earth's axes, the field is intact"),
        ("g1-bulletin-header", BULLETIN_HEADER + m, "a telecommunication bulletin header before the message"),
        ("g1-data-hold-markers", grib1_markers_in_data(), "packed data that contain \"7777\" and \"GRIB\""),
    ]


BULLETIN_HEADER = b"****0000000123****\r\r\nYKAZ88 KWBN 060448\r\r\n"


def grib1_markers_in_data():
    """A lat-lon field of 8-bit values whose packed data spell
    7777GRIB7777GRIB."""
    msg = grib1_latlon()
    bds = grib1_sections(msg)["bds"][0]
    assert msg[bds + 10] == 8
    return msg[:bds + 11] + b"7777GRIB" * 2 + msg[bds + 11 + 16:]


def multi_message_cases():
    """An edge field of one day followed by a damaged concentration field of
    the next: the first product must stay as it was read."""
    edge = grib1_polar(parameter=220, date=20261205)
    conc = grib1_polar(date=20261206)
    s = grib1_sections(conc)
    gds, bds = s["gds"][0], s["bds"][0]
    return [
        ("g1-multi-then-cut", edge + conc[:len(conc) // 2], "a second message cut in half"),
        ("g1-multi-then-bits-33", edge + put(conc, bds + 10, 33, 1), "a second message of 33 bits per value"),
        ("g1-multi-then-lat-91", edge + put(conc, gds + 10, 91000, 3), "a second message beyond the pole"),
        ("g1-multi-then-table-99", edge + put(conc, 8 + 3, 99, 1), "a second message of parameter table 99"),
    ]


def other_grid_cases():
    """Each other grid kind whole (it must decode) and with its grid
    description cut short (it must not)."""
    cases = []
    for sample, grid_type in OTHER_GRIDS:
        m = other_grid(sample, grid_type)
        tag = f"{'g1' if sample == 'GRIB1' else 'g2'}-{grid_type.replace('_', '')}"
        cases.append((tag + "-whole", m, "decodes", f"a sound {grid_type} field"))
        if sample == "GRIB1":
            s = grib1_sections(m)
            cut = _grib1_resize_gds(m, s, 20 if grid_type == "space_view" else 32)
        else:
            cut = _grib2_resize(m, 3, 40)
        cases.append((tag + "-grid-short", cut, "reject", f"{grid_type} grid description cut short"))
        cases.append((tag + "-nx-zero", _zero_columns(m, sample), "reject", f"{grid_type} grid of 0 columns"))
    return cases


def _zero_columns(m, sample):
    if sample == "GRIB1":
        return put(m, grib1_sections(m)["gds"][0] + 6, 0, 2)
    return put(m, grib2_section(m, 3)[0] + 30, 0, 4)


def _grib1_resize_gds(m, s, length):
    start, old = s["gds"]
    section = put(m[start:start + length], 0, length, 3)
    out = m[:start] + section + m[start + old:]
    return grib1_total(out, len(out))


def _grib1_short_bitmap(m, s):
    """The bit map section cut to 2 bytes of bits for 120 points (the BDS
    follows directly, so the message stays framed)."""
    bms_start, bms_len = s["bms"]
    new_len = 6 + 2
    section = put(m[bms_start:bms_start + new_len], 0, new_len, 3)
    out = m[:bms_start] + section + m[bms_start + bms_len:]
    return grib1_total(out, len(out))


def _grib1_short_gds(m, s):
    """A polar grid description cut to 20 bytes, framed consistently."""
    gds_start, gds_len = s["gds"]
    section = put(m[gds_start:gds_start + 20], 0, 20, 3)
    out = m[:gds_start] + section + m[gds_start + gds_len:]
    return grib1_total(out, len(out))


def grib2_cases():
    m = grib2_polar()
    secs = grib2_sections(m)
    starts = {n: start for n, start, _ in secs}
    s3, s5, s6, s7 = starts[3], starts[5], starts[6], starts[7]
    cases = [
        ("g2-cut-in-section0", m[:12], "ends inside section 0"),
        ("g2-cut-after-section0", grib2_total(m[:16], 16), "only section 0"),
    ]
    for n, start, length in secs:
        cut = m[:start + min(length - 1, 9)]
        cases.append((f"g2-cut-in-section{n}", cut, f"ends inside section {n}"))
        whole = m[:start + length]
        cases.append((f"g2-cut-after-section{n}", whole, f"ends after section {n}, no \"7777\""))
        if n != 7:
            framed = grib2_fix_total(whole + b"7777")
            cases.append((f"g2-end-after-section{n}", framed, f"\"7777\" right after section {n}"))
    cases += [
        ("g2-total-beyond-data", grib2_total(m, len(m) + 1000), "total length beyond the data"),
        ("g2-total-huge", grib2_total(m, 0xFFFFFFFFFFFFFFFF), "total length 2^64 - 1"),
        ("g2-total-zero", grib2_total(m, 0), "total length 0"),
        ("g2-no-end-marker", m[:-4] + b"7776", "the \"7777\" end marker is wrong"),
        ("g2-section-length-zero", put(m, s5, 0, 4), "section 5 length 0"),
        ("g2-section-length-four", put(m, s3, 4, 4), "section 3 length 4 (no room for its number)"),
        ("g2-section-length-beyond", put(m, s7, 0x7FFFFFFF, 4), "section 7 length beyond the message"),
        ("g2-section-length-huge", put(m, s3, 0xFFFFFFFF, 4), "section 3 length 2^32 - 1"),
        ("g2-nx-zero", put(m, s3 + 30, 0, 4), "grid of 0 columns"),
        ("g2-ny-zero", put(m, s3 + 34, 0, 4), "grid of 0 rows"),
        ("g2-grid-huge", put(put(put(m, s3 + 30, 0xFFFFFFFF, 4), s3 + 34, 0xFFFFFFFF, 4), s3 + 6, 0xFFFFFFFF, 4),
         "grid of 2^32 - 1 squared points"),
        ("g2-grid-beyond-picture", put(put(put(m, s3 + 30, 20000, 4), s3 + 34, 1, 4), s3 + 6, 20000, 4),
         "20000 columns: a picture side beyond the caps"),
        ("g2-grid-points-beyond-cap",
         put(put(put(m, s3 + 30, 16384, 4), s3 + 34, 16384, 4), s3 + 6, 16384 * 16384, 4),
         "16384 x 16384 points: beyond the grid point cap"),
        ("g2-point-count-mismatch", put(m, s3 + 6, NX * NY + 1, 4), "section 3 point count disagrees with the grid"),
        ("g2-data-point-count-huge", put(m, s5 + 5, 0xFFFFFFFF, 4), "section 5 names 2^32 - 1 values"),
        ("g2-bits-33", put(m, s5 + 19, 33, 1), "33 bits per value"),
        ("g2-bits-255", put(m, s5 + 19, 255, 1), "255 bits per value"),
        ("g2-bits-too-wide-for-data", put(m, s5 + 19, 32, 1), "32 bits per value, more than the data hold"),
        ("g2-bitmap-short", _grib2_short_bitmap(m), "bit map shorter than the grid"),
        ("g2-bitmap-254-first", put(m, s6 + 5, 254, 1), "bit map 254 (the previous one) with none before"),
        ("g2-bitmap-predefined", put(m, s6 + 5, 7, 1), "predefined bit map that is not available"),
        ("g2-unknown-grid-template", put(m, s3 + 12, 999, 2), "grid template 999"),
        ("g2-unknown-product-template", put(m, starts[4] + 7, 999, 2), "product template 999"),
        ("g2-unknown-data-template", put(m, s5 + 9, 999, 2), "data representation template 999"),
        ("g2-dx-zero", put(put(m, s3 + 55, 0, 4), s3 + 59, 0, 4), "polar grid lengths of 0 m"),
        ("g2-sections-out-of-order", _grib2_swap(m, 3, 4), "section 4 before section 3"),
        ("g2-section-repeated", _grib2_repeat(m, 3), "section 3 twice in a row"),
        ("g2-section-missing", _grib2_drop(m, 5), "no section 5"),
        ("g2-section-number-unknown", put(m, s5 + 4, 9, 1), "a section numbered 9"),
        ("g2-edition-3", put(m, 7, 3, 1), "edition 3"),
        ("g2-section1-short", _grib2_resize(m, 1, 12), "section 1 of 12 bytes"),
        ("g2-section3-short", _grib2_resize(m, 3, 20), "grid template 20 cut to 20 bytes"),
        ("g2-section5-short", _grib2_resize(m, 5, 12), "section 5 of 12 bytes"),
        ("g2-data-missing", _grib2_resize(m, 7, 5), "section 7 without data"),
        ("g2-first-lat-91", put(m, s3 + 38, 91000000, 4), "first grid point latitude 91 degrees"),
        ("g2-first-lat-7fffffff", put(m, s3 + 38, 0x7FFFFFFF, 4), "first grid point latitude 0x7FFFFFFF"),
        ("g2-first-lat-missing", put(m, s3 + 38, 0xFFFFFFFF, 4), "first grid point latitude all ones (missing)"),
        ("g2-dy-zero", put(m, s3 + 59, 0, 4), "polar grid length of 0 mm along y only"),
        ("g2-binary-scale-1280", put(m, s5 + 15, 1280, 2), "a binary scale of 2^1280: every value beyond the float range"),
    ]
    ll = grib2_latlon_simple()
    ll3 = grib2_section(ll, 3)[0]
    cases += [
        ("g2-latlon-first-lat-91", put(ll, ll3 + 46, 91000000, 4), "lat-lon first latitude 91 degrees"),
        ("g2-latlon-last-lat-minus-91", put(ll, ll3 + 55, 0x80000000 | 91000000, 4),
         "lat-lon last latitude -91 degrees"),
    ]
    c = grib2_complex()
    cs = {n: (start, length) for n, start, length in grib2_sections(c)}
    c5 = cs[5][0]
    cases += [
        ("g2c-cut-in-data", _grib2_resize(c, 7, 5 + 12), "complex packing: data end inside the groups"),
        ("g2c-groups-huge", put(c, c5 + 31, 0xFFFFFFFF, 4), "complex packing: 2^32 - 1 groups"),
        ("g2c-groups-zero", put(c, c5 + 31, 0, 4), "complex packing: no groups"),
        ("g2c-group-width-bits-33", put(c, c5 + 36, 33, 1), "complex packing: 33-bit group widths"),
        ("g2c-reference-bits-33", put(c, c5 + 19, 33, 1), "complex packing: 33-bit group references"),
        ("g2c-length-bits-33", put(c, c5 + 46, 33, 1), "complex packing: 33-bit group lengths"),
        ("g2c-last-group-huge", put(c, c5 + 42, 0xFFFFFFFF, 4), "complex packing: last group of 2^32 - 1 values"),
        ("g2c-order-3", put(c, c5 + 47, 3, 1), "spatial differencing of order 3"),
        ("g2c-descriptor-octets-0", put(c, c5 + 48, 0, 1), "spatial differencing descriptors of 0 octets"),
        ("g2c-missing-management-9", put(c, c5 + 22, 9, 1), "unknown missing value management"),
        ("g2c-section5-short", _grib2_resize(c, 5, 30), "complex packing section 5 cut to 30 bytes"),
    ]
    return cases


def _grib2_rebuild(m, sections):
    body = b"".join(sections)
    out = m[:16] + body + b"7777"
    return grib2_fix_total(out)


def _grib2_parts(m):
    return [(n, m[start:start + length]) for n, start, length in grib2_sections(m)]


def _grib2_swap(m, a, b):
    parts = _grib2_parts(m)
    ia = next(i for i, (n, _) in enumerate(parts) if n == a)
    ib = next(i for i, (n, _) in enumerate(parts) if n == b)
    parts[ia], parts[ib] = parts[ib], parts[ia]
    return _grib2_rebuild(m, [p for _, p in parts])


def _grib2_repeat(m, a):
    out = []
    for n, p in _grib2_parts(m):
        out.append(p)
        if n == a:
            out.append(p)
    return _grib2_rebuild(m, out)


def _grib2_drop(m, a):
    return _grib2_rebuild(m, [p for n, p in _grib2_parts(m) if n != a])


def _grib2_resize(m, a, length):
    out = []
    for n, p in _grib2_parts(m):
        if n == a:
            p = put(p[:length].ljust(length, b"\0"), 0, length, 4)
        out.append(p)
    return _grib2_rebuild(m, out)


def _grib2_short_bitmap(m):
    return _grib2_resize(m, 6, 6 + 3)


# ------------------------------------------------------------ gzip files

def gzip_cases():
    m = grib1_polar()
    good = gzip.compress(m, mtime=0)
    # A bomb: 300 MiB of zeros in a few hundred KiB, past the 256 MiB cap.
    comp = zlib.compressobj(9, zlib.DEFLATED, 16 + zlib.MAX_WBITS)
    chunk = bytes(1 << 20)
    bomb = b"".join(comp.compress(chunk) for _ in range(300)) + comp.flush()
    corrupt = bytearray(good)
    corrupt[20:28] = b"\xff" * 8
    bad_crc = bytearray(good)
    bad_crc[-8] ^= 0xFF
    return [
        ("gz-bomb-300mib", bomb, "300 MiB of zeros: beyond the un-gzip cap"),
        ("gz-bomb-1gib", _zeros_gzip(b"", 1024), "1 GiB of zeros: no message in the first 64 KiB"),
        ("gz-truncated", good[:len(good) // 2], "gzip stream cut in half"),
        ("gz-header-only", good[:10], "only the gzip header"),
        ("gz-corrupt-deflate", bytes(corrupt), "corrupt deflate blocks"),
        ("gz-bad-crc", bytes(bad_crc), "wrong CRC in the gzip trailer"),
        ("gz-not-gzip", m, "a plain GRIB file named .gz"),
        ("gz-empty", b"", "an empty file"),
        ("gz-garbage-inside", gzip.compress(b"no GRIB here" * 10, mtime=0), "gzip of something that is not GRIB"),
    ]


def _zeros_gzip(head, mebibytes):
    comp = zlib.compressobj(9, zlib.DEFLATED, 16 + zlib.MAX_WBITS)
    chunk = bytes(1 << 20)
    return comp.compress(head) + b"".join(comp.compress(chunk) for _ in range(mebibytes)) + comp.flush()


def gzip_sound_cases():
    return [("gz-message-then-bomb", _zeros_gzip(grib1_polar(), 1024),
             "a sound message followed by 1 GiB of zeros: read without inflating the zeros")]


# ------------------------------------------------- overlay files

def countries_record(seg_type, points):
    out = struct.pack("<iB", len(points), seg_type)
    for lon, lat in points:
        out += struct.pack("<hh", lon, lat)
    return out


def gshhs_record(points, big_endian=True):
    e = ">" if big_endian else "<"
    lons = [p[0] for p in points]
    lats = [p[1] for p in points]
    # Flag: level 1 (land) and format version 7.
    header = struct.pack(e + "11i", 0, len(points), 1 | 7 << 8, min(lons), max(lons), min(lats), max(lats), 100, 0, 0, 0)
    return header + b"".join(struct.pack(e + "ii", lon, lat) for lon, lat in points)


SQUARE = [(0, 3000), (600, 3000), (600, 3600), (0, 3600)]
SQUARE_E6 = [(0, 50000000), (10000000, 50000000), (10000000, 60000000), (0, 50000000)]


def overlay_cases():
    good = countries_record(0, SQUARE) * 2
    shore = gshhs_record(SQUARE_E6)
    track = (b'<?xml version="1.0"?>\n<gpx><trk><trkseg>\n'
             b'<trkpt lat="60.5" lon="10.25"></trkpt>\n<trkpt lat="61" lon="11"></trkpt>\n'
             b'</trkseg></trk></gpx>\n')
    return [
        ("countries-count-beyond", "countries", struct.pack("<iB", 1000000, 0) + b"\x01\x00" * 8,
         "a record of a million points in 16 bytes"),
        ("countries-count-negative", "countries", struct.pack("<iB", -5, 0) + b"\0" * 12, "a negative point count"),
        ("countries-cut-in-record", "countries", good[:len(good) - 3], "the last record cut short"),
        ("countries-too-short", "countries", b"\x01\x00", "two bytes"),
        ("gshhs-count-beyond", "gshhs", put(shore, 4, 0x7FFFFFFF, 4), "a polygon of 2^31 - 1 points"),
        ("gshhs-count-negative", "gshhs", put(shore, 4, 0xFFFFFFF0, 4), "a negative point count"),
        ("gshhs-cut-in-header", "gshhs", shore[:20], "the header cut short"),
        ("gshhs-cut-in-points", "gshhs", shore[:len(shore) - 5], "the points cut short"),
        ("gpx-unclosed-segment", "gpx", track.replace(b"</trkseg>", b""), "a track segment never closed"),
        ("gpx-cut", "gpx", track[:60], "a track file cut inside a point"),
        ("gpx-bad-numbers", "gpx", track.replace(b'lat="61"', b'lat="nan"').replace(b'lon="10.25"', b'lon="1e999"'),
         "coordinates that are not finite numbers"),
    ]


# ---------------------------------------------------------------- writing

def write_corpus():
    os.makedirs(BAD_DIR, exist_ok=True)
    for name in os.listdir(BAD_DIR):
        os.remove(os.path.join(BAD_DIR, name))
    rows = []
    for name, data, why in grib1_cases() + grib2_cases():
        outcome = "reject"
        rows.append((name + ".grb", "grib", outcome, why, data))
    for name, data, outcome, why in other_grid_cases():
        if name in KNOWN_FAULTS:
            outcome, why = "known-fault", f"{why}; known fault: {KNOWN_FAULTS[name]}"
        rows.append((name + ".grb", "grib", outcome, why, data))
    rows.append(("g1-bits-0-constant.grb", "grib", "constant",
                 "bit width 0: a legal constant field, decoded without division by zero", _grib1_constant()))
    for name, data, why in grib1_sound_cases() + multi_message_cases():
        rows.append((name + ".grb", "grib", "decodes", why, data))
    for name, data, why in gzip_cases():
        rows.append((name + ".gz", "gzip", "reject", why, data))
    for name, data, why in gzip_sound_cases():
        rows.append((name + ".gz", "gzip", "decodes", why, data))
    extensions = {"countries": ".dat", "gshhs": ".b", "gpx": ".gpx"}
    for name, reader, data, why in overlay_cases():
        # A track file is text read leniently: a broken segment is left out
        # rather than failing the file.
        outcome = "no-track" if reader == "gpx" else "reject"
        rows.append((name + extensions[reader], reader, outcome, why, data))
    for name, data, why in badnetcdf.broken_cases():
        rows.append((name + ".nc", "netcdf", "reject", why, data))
    for name, data, why in badnetcdf.sound_cases():
        rows.append((name + ".nc", "netcdf", "decodes", why, data))
    with open(os.path.join(BAD_DIR, "MANIFEST"), "w") as manifest:
        manifest.write("# file\treader\toutcome\treason (written by tools/make_bad_corpus.py)\n")
        for name, reader, outcome, why, data in rows:
            with open(os.path.join(BAD_DIR, name), "wb") as f:
                f.write(data)
            manifest.write(f"{name}\t{reader}\t{outcome}\t{why}\n")
    print(f"{len(rows)} files in {BAD_DIR}")


def _grib1_constant():
    m = grib1_latlon()
    s = grib1_sections(m)
    bds, length = s["bds"]
    section = put(m[bds:bds + 12], 0, 12, 3)
    b = bytearray(section)
    b[10] = 0
    out = m[:bds] + bytes(b) + b"7777"
    return grib1_total(out, len(out))


def write_seeds():
    seeds = {
        "fuzz_grib_message": {
            "g1-polar.grb": grib1_polar(), "g1-latlon.grb": grib1_latlon(),
            "g2-polar.grb": grib2_polar(), "g2-complex.grb": grib2_complex(),
        },
        # Without the gzip magic the target gzips the input itself.
        "fuzz_grib_file": {
            "g1-polar.grb.gz": gzip.compress(grib1_polar(), mtime=0),
            "g2-complex.grb.gz": gzip.compress(grib2_complex(), mtime=0),
            "g1-polar.plain": grib1_polar(),
            "g2-polar.plain": grib2_polar(),
            "g2-complex.plain": grib2_complex(),
        },
        "fuzz_countries": {"square.dat": countries_record(0, SQUARE) + countries_record(4, SQUARE[:2])},
        "fuzz_gshhs": {"square.b": gshhs_record(SQUARE_E6), "square-le.b": gshhs_record(SQUARE_E6, False)},
        "fuzz_gpx": {"track.gpx": (
            b'<gpx><trk><trkseg>\n<trkpt lat="60.5" lon="10.25"></trkpt>\n'
            b'<trkpt lat="-61" lon="359.5"></trkpt>\n</trkseg></trk></gpx>\n')},
    }
    for target, files in seeds.items():
        folder = os.path.join(SEED_DIR, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
    print(f"seeds in {SEED_DIR}")


if __name__ == "__main__":
    if "--seeds" in sys.argv[1:]:
        write_seeds()
    else:
        write_corpus()
