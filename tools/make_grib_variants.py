#!/usr/bin/python3
"""Writes small hand-made GRIB files for the decoder's tests, each named for
what it shows, and OUT/manifest.json describing every one of them:

    make_grib_variants.py OUT

Edition 1: simple packing of every width from 1 to 16 bits and 24 bits,
with and without bit map; scanning modes 0x00, 0x40, 0x80 and 0xC0 (with bit
maps whose holes show a mirror image); the extended grid section of the
sea-ice products; lat-lon across 0°E; multi-message files; a field whose
smallest packed value is above 0. Edition 2: lat-lon across 0°E, polar
stereographic grids of either pole scanned from either side, simple packing,
complex packing (templates 5.2 and 5.3, spatial differencing of order 1 and
2, with and without bit map, with primary and secondary missing values),
two products sharing one bit map (indicator 254), an SST field whose
smallest packed value is above 0.

Every file is read back with ecCodes before the manifest is written; the
manifest gives for each message its grid, packing, the packed integers in
file order ("packed", present points only, with "present" the bit map as a
text of 0 and 1) and the packed integers as the grid lies ("picture": north
or +y up, west or -x left, -1 where a value is missing); the one file that
ecCodes packs itself has neither."""

import datetime as dt
import json
import math
import os
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import eccodes as ec  # noqa: E402
import numpy as np  # noqa: E402

from samplelib import complexpack, encode, grids, packing  # noqa: E402

DATE = dt.date(2026, 12, 5)
MISSING = encode.MISSING

# Small polar grids. Their first points are computed on the sphere the
# viewer assumes for the grid's true-scale latitude (60 unless an extended
# grid section says 70).
SMALL_NORTH_60 = grids.PolarGrid("small-NH-60", 23, 17, 25_000.0, -250_000.0, -700_000.0,
                                 -45.0, False, 60.0, grids.SPHERE60_SCALE_M)
SMALL_SOUTH_60 = grids.PolarGrid("small-SH-60", 23, 17, 25_000.0, -250_000.0, 1_400_000.0,
                                 0.0, True, -60.0, grids.SPHERE60_SCALE_M)
SMALL_NORTH_70 = grids.PolarGrid("small-NH-70", 40, 30, 10_000.0, -200_000.0, -600_000.0,
                                 -45.0, False, 70.0, grids.ICE_SPHERE_SCALE_M)
SMALL_SOUTH_70 = grids.PolarGrid("small-SH-70", 40, 30, 10_000.0, -200_000.0, 1_800_000.0,
                                 0.0, True, -70.0, grids.ICE_SPHERE_SCALE_M)
SPHERE60_RADIUS_M = grids.SPHERE60_SCALE_M / (1 + math.sin(math.radians(60)))


class Variants:
    def __init__(self, out):
        self.out = out
        self.entries = []

    def write(self, name, data, shows, messages):
        path = os.path.join(self.out, name)
        with open(path, "wb") as f:
            f.write(data)
        self.entries.append({"file": name, "shows": shows, "messages": messages})
        print(path)


# ---------------------------------------------------------------- helpers

def pattern(shape, bits, seed):
    """Packed integers covering 0 .. 2^bits - 1, both ends included."""
    rng = np.random.default_rng(seed)
    top = (1 << bits) - 1
    x = rng.integers(0, top + 1, size=shape, dtype=np.int64)
    flat = x.reshape(-1)
    flat[0], flat[-1] = 0, top
    return x


def hole_mask(shape, corner_rows=3, corner_cols=4):
    """Present-points mask with a block missing at the start of the first
    rows and one single point missing further on: a mirror image shows."""
    present = np.ones(shape, dtype=bool)
    present[:corner_rows, :corner_cols] = False
    present[shape[0] // 2, shape[1] - 2] = False
    return present


def read_products(message):
    """(category, values) of every product of an edition 2 message; ecCodes
    splits multi-product messages only when reading from a file."""
    got = []
    ec.codes_grib_multi_support_on()
    try:
        with tempfile.TemporaryFile() as f:
            f.write(message)
            f.seek(0)
            while True:
                handle = ec.codes_grib_new_from_file(f)
                if handle is None:
                    break
                ec.codes_set_double(handle, "missingValue", MISSING)
                values = ec.codes_get_values(handle).astype(np.float64)
                values[values == MISSING] = np.nan
                got.append((ec.codes_get(handle, "parameterCategory"), values))
                ec.codes_release(handle)
    finally:
        ec.codes_grib_multi_support_off()
    return got


def physical(x, reference, binary_scale, decimal_scale):
    return (reference + x * 2.0 ** binary_scale) / 10.0 ** decimal_scale


def picture(x_file, present, scanning):
    """The packed integers laid out as the grid lies: north (lat-lon) or
    +y (polar stereographic) up, west or -x left; -1 where missing.
    x_file has the grid's shape (rows, columns) and holds the values in
    file order; with 0x20 that order runs down each column in turn, with
    0x10 every other row (column) runs the opposite way."""
    rows, cols = np.asarray(x_file).shape
    flat = np.where(present, x_file, -1).ravel()
    lines = flat.reshape((cols, rows) if scanning & 0x20 else (rows, cols)).copy()
    if scanning & 0x10:
        lines[1::2] = lines[1::2, ::-1]
    img = lines.T if scanning & 0x20 else lines
    if scanning & 0x40:
        img = img[::-1]
    if scanning & 0x80:
        img = img[:, ::-1]
    return img.tolist()


def present_text(present):
    return "".join("1" if p else "0" for p in np.asarray(present).ravel())


def verify(message, expected, tolerance=1e-6):
    """Raises unless ecCodes decodes the message to the expected values."""
    expected = np.asarray(expected, dtype=np.float64).ravel()
    encode.check_values(message, expected, tolerance=tolerance)


def grib1_entry(field, message, grid_info, x_file, present, reference):
    return {
        "edition": 1,
        "parameter": field.parameter,
        "centre": field.centre, "process": field.process,
        "table_version": field.table_version,
        "reference_time": f"{field.date:%Y-%m-%d} {field.hour:02d}:00",
        "grid": grid_info,
        "packing": {"template": "simple", "bits": field.bits, "reference": reference,
                    "binary_scale": field.binary_scale,
                    "decimal_scale": field.decimal_scale},
        "bitmap": field.present is not None,
        "present_count": int(np.count_nonzero(present)),
        "present": present_text(present),
        "packed": [int(v) for v in np.asarray(x_file)[np.asarray(present)]],
        "length": len(message),
    }


def polar_info(grid, scanning, extended, gds_length):
    x1 = float(grid.x_centres()[0])
    y1 = float(grid.y_centres_south_up()[0 if scanning & 0x40 else -1])
    lat1, lon1 = (float(v) for v in grid.to_latlon(x1, y1))
    return {"type": "polar_stereographic", "nx": grid.nx, "ny": grid.ny,
            "x_first_m": x1, "y_first_m": y1,
            "dx_m": grid.dx_m, "orientation": grid.orientation,
            "south_pole": grid.south, "scanning_mode": scanning,
            "first_lat": round(lat1, 6), "first_lon": round(lon1, 6),
            "true_scale_lat": grid.true_lat, "sphere_scale_m": grid.scale_m,
            "extended_section": extended, "grid_section_length": gds_length}


def ps_grib1(v, name, shows, grid, parameter, x_rows_south_up, present=None, bits=8,
             reference=0.0, binary_scale=0, decimal_scale=0, scanning=0x40,
             extended=False, centre=encode.CENTRE_OSLO, process=encode.ICE_PROCESS,
             table_version=encode.ICE_TABLE_VERSION):
    """An edition 1 polar stereographic file; x_rows_south_up is indexed
    [row from the south][column from the west]."""
    x = np.asarray(x_rows_south_up)
    p = np.ones(x.shape, dtype=bool) if present is None else np.asarray(present)
    if not scanning & 0x40:
        x, p = x[::-1], p[::-1]
    values = physical(x, reference, binary_scale, decimal_scale)
    field = encode.Grib1Field(parameter, DATE, values, None if present is None else p,
                              bits=bits, decimal_scale=decimal_scale,
                              binary_scale=binary_scale, reference=reference,
                              centre=centre, process=process, table_version=table_version)
    message = encode.polar_grib1(field, grid, extended=extended, scanning=scanning)
    reference = packing.ibm_to_float(packing.ibm_float(reference))
    verify(message, np.where(p, physical(x, reference, binary_scale, decimal_scale), np.nan))
    info = polar_info(grid, scanning, extended, 44 if extended else 32)
    entry = grib1_entry(field, message, info, x, p, reference)
    entry["picture"] = picture(x, p, scanning)
    if name:
        v.write(name, message, shows, [entry])
    return message, entry


def ll_grib1(v, name, shows, x_file, present, scanning, lat_n, lat_s, lon_w, lon_e, step,
             bits=8, reference=2500.0, binary_scale=0, decimal_scale=1, parameter=11):
    x_file = np.asarray(x_file)
    p = np.ones(x_file.shape, dtype=bool) if present is None else np.asarray(present)
    lat1, lat2 = (lat_s, lat_n) if scanning & 0x40 else (lat_n, lat_s)
    lon1, lon2 = (lon_e, lon_w) if scanning & 0x80 else (lon_w, lon_e)
    values = physical(x_file, reference, binary_scale, decimal_scale)
    field = encode.Grib1Field(parameter, DATE, values, None if present is None else p,
                              bits=bits, decimal_scale=decimal_scale,
                              binary_scale=binary_scale, reference=reference,
                              centre=98, process=1, table_version=3)
    message = encode.latlon_grib1(field, lat1, lon1, lat2, lon2, step, scanning)
    reference = packing.ibm_to_float(packing.ibm_float(reference))
    verify(message, np.where(p, physical(x_file, reference, binary_scale, decimal_scale), np.nan))
    info = {"type": "regular_ll", "ni": x_file.shape[1], "nj": x_file.shape[0],
            "scanning_mode": scanning, "first_lat": lat1, "first_lon": lon1,
            "last_lat": lat2, "last_lon": lon2, "step": step}
    entry = grib1_entry(field, message, info, x_file, p, reference)
    entry["picture"] = picture(x_file, p, scanning)
    v.write(name, message, shows, [entry])


# ------------------------------------------------------------ edition 1

def simple_widths(v):
    grid = SMALL_NORTH_60
    shape = (grid.ny, grid.nx)
    for bits in list(range(1, 17)) + [24]:
        x = pattern(shape, bits, seed=bits)
        # Spread every width over about 60 K above 250 K.
        scale = max(-20, round(math.log2(60.0 / ((1 << bits) - 1))))
        kw = dict(bits=bits, reference=250.0, binary_scale=scale, decimal_scale=0)
        ps_grib1(v, f"g1_ps_simple_{bits:02d}bit.grb",
                 f"edition 1, {bits}-bit simple packing, no bit map, rows from the south",
                 grid, 11, x, **kw)
        if bits in (1, 3, 4, 8, 12, 16):
            present = hole_mask(shape)
            if bits == 8:
                present[5, 7] = False   # an odd count of present points
            ps_grib1(v, f"g1_ps_simple_{bits:02d}bit_bitmap.grb",
                     f"edition 1, {bits}-bit simple packing with a bit map"
                     + (" (odd count of present points)" if bits == 8 else ""),
                     grid, 11, x, present=present, **kw)


def scales_and_signs(v):
    grid = SMALL_NORTH_60
    x = pattern((grid.ny, grid.nx), 10, seed=77)
    ps_grib1(v, "g1_ps_negative_scales.grb",
             "edition 1, negative reference, binary scale -3 and decimal scale -1 "
             "(sign-and-magnitude fields)", grid, 11, x, bits=10,
             reference=-1234.5, binary_scale=-3, decimal_scale=-1)
    ps_grib1(v, "g1_temperature_rawmin_above_zero.grb",
             "edition 1 temperature whose smallest packed value is 40, not 0",
             grid, 11, 40 + pattern((grid.ny, grid.nx), 7, seed=78), bits=8,
             reference=2600.0, binary_scale=0, decimal_scale=1,
             centre=98, table_version=3)


def scanning_modes(v):
    shape = (11, 19)
    for scanning, with_bitmap in ((0x00, False), (0x40, False), (0x80, True), (0xC0, True),
                                  (0x00, True)):
        x = pattern(shape, 8, seed=100 + scanning)
        present = hole_mask(shape) if with_bitmap else None
        suffix = "_bitmap" if with_bitmap else ""
        ll_grib1(v, f"g1_ll_scan_{scanning:02x}{suffix}.grb",
                 f"edition 1 lat-lon, scanning mode 0x{scanning:02X}"
                 + (", bit map with a hole at the first points scanned" if with_bitmap else ""),
                 x, present, scanning, 50.0, 40.0, -5.0, 13.0, 1.0)
    for scanning in (0x00, 0x40):
        grid = SMALL_NORTH_60
        ps_grib1(v, f"g1_ps_scan_{scanning:02x}_bitmap.grb",
                 f"edition 1 polar stereographic, scanning mode 0x{scanning:02X}, "
                 "first grid point " + ("bottom-left" if scanning else "top-left"),
                 grid, 11, pattern((grid.ny, grid.nx), 8, seed=200 + scanning),
                 present=hole_mask((grid.ny, grid.nx))[::-1],
                 reference=2500.0, decimal_scale=1, scanning=scanning)
    grid = SMALL_SOUTH_60
    ps_grib1(v, "g1_ps_south_scan_40.grb",
             "edition 1 polar stereographic, south pole centre, rows from the south",
             grid, 11, pattern((grid.ny, grid.nx), 8, seed=300),
             reference=2500.0, decimal_scale=1)


def latlon_across_greenwich(v):
    x = pattern((21, 41), 12, seed=400)
    ll_grib1(v, "g1_ll_cross_0E.grb",
             "edition 1 lat-lon from 20°W to 20°E (signed longitudes), 12 bits",
             x, None, 0x00, 60.0, 40.0, -20.0, 20.0, 1.0, bits=12,
             reference=26000.0, decimal_scale=2)


def ice_classes(rows, cols, codes, seed):
    rng = np.random.default_rng(seed)
    return rng.choice(np.array(codes), size=(rows, cols))


def extended_grid_sections(v):
    grid = SMALL_NORTH_70
    edge = ice_classes(grid.ny, grid.nx, [1, 2, 3, 9, 10], 500)
    ps_grib1(v, "g1_edge_extended_gds.grb",
             "sea-ice edge (220) from centre 88 process 1 with a 44-byte grid section: "
             "earth axes and true-scale latitude 70, class 10 present",
             grid, encode.ICE_EDGE, edge, bits=8, reference=1.0, extended=True)
    kind = ice_classes(grid.ny, grid.nx, [1, 2, 3, 4, 9, 10], 501)
    ps_grib1(v, "g1_type_extended_gds.grb",
             "sea-ice type (221) from centre 88 process 1 with a 44-byte grid section",
             grid, encode.ICE_TYPE, kind, bits=8, reference=1.0, extended=True)
    plain_edge = ice_classes(SMALL_NORTH_60.ny, SMALL_NORTH_60.nx, [1, 2, 3, 9], 502)
    ps_grib1(v, "g1_edge_plain_gds.grb",
             "sea-ice edge (220) with the standard 32-byte grid section (no extension)",
             SMALL_NORTH_60, encode.ICE_EDGE, plain_edge, bits=8, reference=1.0)
    grid = SMALL_SOUTH_70
    rng = np.random.default_rng(503)
    conc = rng.integers(0, 101, size=(grid.ny, grid.nx))
    conc[:, :6] = -99
    present = np.ones(conc.shape, dtype=bool)
    present[-4:, -5:] = False
    ps_grib1(v, "g1_conc_extended_gds_south.grb",
             "sea-ice concentration (91), south pole, extended grid section with "
             "true-scale latitude -70, land as -99, bit map",
             grid, encode.ICE_CONC, conc - (-99), present=present, bits=8,
             reference=-99.0, extended=True)


def multi_message_files(v):
    grid = SMALL_NORTH_60
    shape = (grid.ny, grid.nx)

    def field(parameter, seed):
        x = pattern(shape, 7, seed)
        if parameter == 91:
            x = np.minimum(x, 100)
        return ps_grib1(v, None, None, grid, parameter, x, bits=8, reference=0.0)

    cases = [
        ("S-OSI_-DMI_-MULT-GL_NH_CONC__multi_conc_second.grb", [230, 91],
         "two edition 1 messages, concentration behind its quality field; the name "
         "marks a multi-message file"),
        ("multi_NH_POLSTERE-100_MULTI_conc_third.grb", [230, 232, 91],
         "three edition 1 messages, concentration third"),
        ("multi_NH_POLSTERE-100_MULTI_no_conc.grb", [230, 231, 232],
         "three edition 1 messages, none of them concentration"),
    ]
    for name, parameters, shows in cases:
        parts = [field(p, 600 + k) for k, p in enumerate(parameters)]
        data = b"".join(message for message, _ in parts)
        offset = 0
        entries = []
        for message, entry in parts:
            entry["offset"] = offset
            offset += len(message)
            entries.append(entry)
        v.write(name, data, shows, entries)


# ------------------------------------------------------------ edition 2

def grib2_frame(values, grid_keys, sample="GRIB2", category=3, number=0, bitmap=None):
    """An ecCodes-written message whose sections 1, 3, 4 and 6 are reused."""
    vals = np.asarray(values, dtype=np.float64)
    if bitmap is not None:
        vals = np.where(bitmap, vals, np.nan)
    field = encode.Grib2Field(10, category, number, DATE, vals, bits=12,
                              bitmap=bitmap is not None)
    return encode.grib2_message(field, grid_keys, sample)


def replace_sections(message, replacements):
    sections = [replacements.get(num, sec) for num, _, sec in packing.grib2_sections(message)]
    return packing.grib2_message(message[6], sections)


def grib2_entry(grid_info, packing_info, x_file, present, category=3, number=0):
    return {
        "edition": 2, "discipline": 10, "category": category, "number": number,
        "centre": encode.CENTRE_TOULOUSE,
        "reference_time": f"{DATE:%Y-%m-%d} 12:00",
        "grid": grid_info, "packing": packing_info,
        "bitmap": present is not None and not np.all(present),
        "present_count": int(np.count_nonzero(present)),
        "present": present_text(present),
        "packed": [int(x) for x in np.asarray(x_file).ravel()[np.asarray(present).ravel()]],
    }


def simple_grib2(x_file, present, grid_keys, reference, binary_scale, decimal_scale, bits,
                 sample="GRIB2"):
    """Edition 2 simple packing with the reference and scales given."""
    reference = packing.float32(reference)
    values = physical(x_file, reference, binary_scale, decimal_scale)
    bitmap = None if present is None or np.all(present) else present
    frame = grib2_frame(values, grid_keys, sample, bitmap=bitmap)
    shown = np.asarray(x_file)[np.asarray(present)] if present is not None else np.asarray(x_file).ravel()
    s5 = packing.grib2_simple_section5(shown.size, reference, binary_scale, decimal_scale, bits)
    s7 = packing.grib2_section7(packing.pack_bits(shown.ravel(), bits))
    message = replace_sections(frame, {5: s5, 7: s7})
    expected = np.where(present if present is not None else True, values, np.nan)
    verify(message, expected, tolerance=1e-4)
    return message, {"template": "simple", "bits": bits, "reference": reference,
                     "binary_scale": binary_scale, "decimal_scale": decimal_scale}


def ll_keys(ni, nj, lat_n, lat_s, lon_w, lon_e, step, scanning=0):
    lat1, lat2 = (lat_s, lat_n) if scanning & 0x40 else (lat_n, lat_s)
    lon1, lon2 = (lon_e, lon_w) if scanning & 0x80 else (lon_w, lon_e)
    keys = encode.latlon_grib2_keys(ni, nj, lat1, lon1, lat2, lon2, step, scanning)
    info = {"type": "regular_ll", "ni": ni, "nj": nj, "scanning_mode": scanning,
            "first_lat": lat1, "first_lon": lon1 % 360.0, "last_lat": lat2,
            "last_lon": lon2 % 360.0, "step": step}
    return keys, info


def latlon_grib2(v):
    x = pattern((21, 41), 12, seed=700)
    keys, info = ll_keys(41, 21, 60.0, 40.0, -20.0, 20.0, 1.0)
    present = np.ones(x.shape, dtype=bool)
    message, pinfo = simple_grib2(x, present, keys, 27000.0, 0, 2, 12)
    entry = grib2_entry(info, pinfo, x, present)
    entry["picture"] = picture(x, present, 0)
    v.write("g2_ll_cross_0E.grb2", message,
            "edition 2 lat-lon from 340°E to 20°E (first longitude above the last), "
            "12-bit simple packing", [entry])

    x = pattern((11, 19), 12, seed=701)
    for scanning, with_bitmap in ((0x00, False), (0x00, True), (0x40, True), (0x10, True), (0x20, True),
                                  (0x60, True), (0x30, False)):
        keys, info = ll_keys(19, 11, 50.0, 40.0, -5.0, 13.0, 1.0, scanning)
        present = hole_mask(x.shape) if with_bitmap else np.ones(x.shape, dtype=bool)
        message, pinfo = simple_grib2(x, present, keys, 27000.0, 0, 2, 12)
        entry = grib2_entry(info, pinfo, x, present)
        entry["picture"] = picture(x, present, scanning)
        suffix = "_bitmap" if with_bitmap else ""
        v.write(f"g2_ll_simple_12bit_scan_{scanning:02x}{suffix}.grb2", message,
                f"edition 2 lat-lon, 12-bit simple packing, scanning mode 0x{scanning:02X}"
                + (", bit map" if with_bitmap else ""), [entry])


def polar_grib2(v):
    for grid in (SMALL_NORTH_60, SMALL_SOUTH_60):
        for scanning in (0x40, 0x00):
            if scanning & 0x40:
                lat1, lon1 = grid.first_point_south_up()
            else:
                lat1, lon1 = (float(c) for c in grid.to_latlon(grid.x_centres()[0],
                                                              grid.y_centres_south_up()[-1]))
            keys = {
                "Nx": grid.nx, "Ny": grid.ny,
                "latitudeOfFirstGridPointInDegrees": lat1,
                "longitudeOfFirstGridPointInDegrees": lon1 % 360.0,
                "LaDInDegrees": grid.true_lat,
                "orientationOfTheGridInDegrees": grid.orientation % 360.0,
                "DxInMetres": grid.dx_m, "DyInMetres": grid.dx_m,
                "projectionCentreFlag": 128 if grid.south else 0,
                "scanningMode": scanning,
                "shapeOfTheEarth": 1, "scaleFactorOfRadiusOfSphericalEarth": 0,
                "scaledValueOfRadiusOfSphericalEarth": round(SPHERE60_RADIUS_M),
            }
            x = pattern((grid.ny, grid.nx), 12, seed=800 + scanning + grid.south)
            present = np.ones(x.shape, dtype=bool)
            message, pinfo = simple_grib2(x, present, keys, 27000.0, 0, 2, 12,
                                          sample="polar_stereographic_sfc_grib2")
            info = polar_info(grid, scanning, False, None)
            info.pop("grid_section_length")
            info["earth_radius_m"] = round(SPHERE60_RADIUS_M)
            pole = "south" if grid.south else "north"
            side = "south" if scanning & 0x40 else "north"
            entry = grib2_entry(info, pinfo, x, present)
            entry["picture"] = picture(x, present, scanning)
            v.write(f"g2_ps_{pole}_scan_{scanning:02x}.grb2", message,
                    f"edition 2 polar stereographic, {pole} pole centre, rows from the {side}",
                    [entry])


def smooth_packed(shape, seed, top):
    """Smooth integers with a little noise: what complex packing is for."""
    rng = np.random.default_rng(seed)
    yy, xx = np.mgrid[0:shape[0], 0:shape[1]]
    base = 0.5 + 0.25 * np.sin(xx / 5.0) + 0.2 * np.cos(yy / 4.0)
    x = np.rint(base * top * 0.9) + rng.integers(0, max(2, top // 40), shape)
    return np.clip(x, 0, top).astype(np.int64)


def complex_grib2(v):
    ni, nj = 37, 23
    keys, info = ll_keys(ni, nj, 60.0, 38.0, -10.0, 26.0, 1.0)
    x = smooth_packed((nj, ni), 900, 4095)
    reference, binary_scale, decimal_scale = 27000.0, 0, 2
    reference = packing.float32(reference)
    values = physical(x, reference, binary_scale, decimal_scale)
    cases = [
        # name, order, missing-value management, bit map
        ("g2_complex_52.grb2", 0, 0, False),
        ("g2_complex_52_bitmap.grb2", 0, 0, True),
        ("g2_complex_52_missing_primary.grb2", 0, 1, False),
        ("g2_complex_52_missing_primary_secondary.grb2", 0, 2, False),
        ("g2_complex_53_order1.grb2", 1, 0, False),
        ("g2_complex_53_order1_bitmap.grb2", 1, 0, True),
        ("g2_complex_53_order2.grb2", 2, 0, False),
        ("g2_complex_53_order2_bitmap.grb2", 2, 0, True),
        ("g2_complex_53_order2_missing_primary_secondary.grb2", 2, 2, False),
    ]
    for k, (name, order, mvm, with_bitmap) in enumerate(cases):
        present = hole_mask(x.shape) if with_bitmap else np.ones(x.shape, dtype=bool)
        missing = np.zeros(x.shape, dtype=np.int64)
        if mvm:
            missing[3, 5:30] = 1          # whole groups missing
            missing[10, ::4] = 1          # missing points among values
            if mvm == 2:
                missing[15, 2:20:3] = 2
        frame = grib2_frame(values, keys, bitmap=present if with_bitmap else None)
        shown = x[present]
        info_c, data = complexpack.complex_pack(shown, missing[present], order=order,
                                                mvm=mvm, seed=k)
        s5 = complexpack.section5(shown.size, reference, binary_scale, decimal_scale, info_c,
                                  primary=MISSING if mvm else None,
                                  secondary=-MISSING if mvm == 2 else None)
        message = replace_sections(frame, {5: s5, 7: packing.grib2_section7(data)})
        expected = np.where(present & (missing == 0), values, np.nan)
        verify(message, expected, tolerance=1e-4)
        pinfo = {"template": "complex_spatial_differencing" if order else "complex",
                 "template_number": 3 if order else 2, "bits": info_c["reference_bits"],
                 "reference": reference, "binary_scale": binary_scale,
                 "decimal_scale": decimal_scale}
        pinfo.update(info_c)
        entry = grib2_entry(info, pinfo, x, present)
        entry["missing_codes"] = [int(m) for m in missing[present]]
        entry["picture"] = picture(np.where(missing == 0, x, -1), present, 0)
        what = ("complex packing (5.2)" if not order else
                f"complex packing with spatial differencing of order {order} (5.3)")
        extras = []
        if with_bitmap:
            extras.append("bit map")
        if mvm:
            extras.append("primary" + (" and secondary" if mvm == 2 else "") + " missing values")
        v.write(name, message, f"edition 2 SST, {what}"
                + (", " + ", ".join(extras) if extras else ""), [entry])

    # A larger field as ecCodes packs it, for a second opinion (ecCodes
    # makes a single group of small fields).
    ni, nj = 181, 61
    keys, info = ll_keys(ni, nj, 60.0, 0.0, -90.0, 90.0, 1.0)
    x = smooth_packed((nj, ni), 901, 4095)
    values = physical(x, reference, binary_scale, decimal_scale)
    field = encode.Grib2Field(10, 3, 0, DATE, values, packing_type="grid_complex", bits=12)
    message = encode.grib2_message(field, keys)
    verify(message, values, tolerance=0.01)
    handle = ec.codes_new_from_message(message)
    ngroups = ec.codes_get(handle, "numberOfGroupsOfDataValues")
    ec.codes_release(handle)
    entry = grib2_entry(info, {"template": "complex", "template_number": 2,
                               "writer": "ecCodes", "groups": ngroups},
                        x, np.ones(x.shape, dtype=bool))
    entry.pop("packed")
    v.write("g2_complex_52_eccodes.grb2", message,
            "edition 2 SST, complex packing (5.2) as ecCodes writes it", [entry])


def bitmap_reuse(v):
    ni, nj = 19, 11
    keys, info = ll_keys(ni, nj, 50.0, 40.0, -5.0, 13.0, 1.0)
    present = hole_mask((nj, ni))
    x1 = pattern((nj, ni), 12, seed=1000)
    x2 = pattern((nj, ni), 2, seed=1001)
    first, p1 = simple_grib2(x1, present, keys, 27000.0, 0, 2, 12)
    second, p2 = simple_grib2(x2, present, keys, 0.0, 0, 0, 2)
    s1 = packing.grib2_sections(first)
    s2 = {num: sec for num, _, sec in packing.grib2_sections(second)}
    reuse = (6).to_bytes(4, "big") + bytes([6, 254])
    # Section 4 of the second product: SST confidence (10 / 192 / 1).
    s4 = bytearray(s2[4])
    s4[9], s4[10] = 192, 1
    sections = [sec for _, _, sec in s1] + [bytes(s4), s2[5], reuse, s2[7]]
    message = packing.grib2_message(10, sections)

    got = read_products(message)
    if len(got) != 2:
        raise AssertionError(f"ecCodes read {len(got)} products from the shared bit map message")
    for (category, vals), x, pinfo, cat in ((got[0], x1, p1, 3), (got[1], x2, p2, 192)):
        expected = np.where(present, physical(x, pinfo["reference"], pinfo["binary_scale"],
                                              pinfo["decimal_scale"]), np.nan).ravel()
        if category != cat or not np.array_equal(np.isnan(vals), np.isnan(expected)) \
                or np.nanmax(np.abs(vals - expected)) > 1e-4:
            raise AssertionError("the second product does not decode with the shared bit map")
    e1 = grib2_entry(info, p1, x1, present)
    e2 = grib2_entry(info, p2, x2, present, category=192, number=1)
    e2["bitmap_indicator"] = 254
    e1["bitmap_indicator"] = 0
    v.write("g2_two_products_bitmap_reuse.grb2", message,
            "edition 2 message with two products on one grid: SST with a bit map, then "
            "SST confidence whose bit-map indicator 254 reuses it", [e1, e2])


def sst_rawmin_above_zero(v):
    ni, nj = 37, 23
    keys, info = ll_keys(ni, nj, 60.0, 38.0, -10.0, 26.0, 1.0)
    x = 150 + smooth_packed((nj, ni), 1100, 3000)
    present = hole_mask(x.shape)
    message, pinfo = simple_grib2(x, present, keys, 27000.0, 0, 2, 12)
    entry = grib2_entry(info, pinfo, x, present)
    entry["smallest_packed"] = int(x[present].min())
    v.write("g2_sst_rawmin_above_zero.grb2", message,
            "edition 2 SST, 12-bit simple packing whose smallest packed value is "
            f"{int(x[present].min())} (the reference lies below the coldest value)", [entry])


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if len(argv) != 1:
        print(__doc__)
        return 2
    out = argv[0]
    os.makedirs(out, exist_ok=True)
    v = Variants(out)
    simple_widths(v)
    scales_and_signs(v)
    scanning_modes(v)
    latlon_across_greenwich(v)
    extended_grid_sections(v)
    multi_message_files(v)
    latlon_grib2(v)
    polar_grib2(v)
    complex_grib2(v)
    bitmap_reuse(v)
    sst_rawmin_above_zero(v)
    manifest = os.path.join(out, "manifest.json")
    with open(manifest, "w") as f:
        json.dump({"date": DATE.isoformat(), "files": v.entries}, f, indent=1)
        f.write("\n")
    print(manifest)
    return 0


if __name__ == "__main__":
    sys.exit(main())
