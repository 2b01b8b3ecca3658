#!/usr/bin/python3
"""Runs the sample-data tools into a temporary folder and checks what they
wrote: every file decodes with ecCodes, gzip files are whole, the names are
the ones the viewer searches for and derives siblings from, the grids sit
where PROJ puts them, and the values are in range and agree across the
three sea-ice products of a day."""

import datetime as dt
import fnmatch
import gzip
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import eccodes as ec
import numpy as np

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOLS = os.path.join(SOURCE, "tools")
END = dt.date(2026, 12, 5)
SKIPPED = dt.date(2026, 12, 2)
MISSING = 9999.0


def run_tool(*args):
    result = subprocess.run([sys.executable, *args], capture_output=True, text=True,
                            timeout=600)
    if result.returncode != 0:
        raise AssertionError(f"{args[0]} failed:\n{result.stderr}")
    return [line for line in result.stdout.splitlines() if line]


def read_bytes(path):
    with open(path, "rb") as f:
        data = f.read()
    return gzip.decompress(data) if path.upper().endswith(".GZ") else data


def decode_all(data):
    """[(keys, values)] of every message in a byte string; missing = NaN."""
    out = []
    pos = 0
    while True:
        start = data.find(b"GRIB", pos)
        if start < 0:
            break
        handle = ec.codes_new_from_message(data[start:])
        try:
            ec.codes_set_double(handle, "missingValue", MISSING)
            values = ec.codes_get_values(handle).astype(np.float64)
            values[values == MISSING] = np.nan
            keys = {k: ec.codes_get(handle, k) for k in (
                "editionNumber", "totalLength", "dataDate", "centre")}
            keys["centre"] = ec.codes_get(handle, "centre", ktype=int)
            if keys["editionNumber"] == 1:
                for k in ("indicatorOfParameter", "Nx", "Ny", "scanningMode",
                          "projectionCentreFlag", "orientationOfTheGrid",
                          "latitudeOfFirstGridPoint", "longitudeOfFirstGridPoint",
                          "DxInMetres", "DyInMetres", "section2Length",
                          "generatingProcessIdentifier", "table2Version"):
                    if ec.codes_is_defined(handle, k):
                        keys[k] = ec.codes_get(handle, k)
            else:
                for k in ("discipline", "parameterCategory", "parameterNumber",
                          "dataRepresentationTemplateNumber", "Ni", "Nj",
                          "gridDefinitionTemplateNumber"):
                    if ec.codes_is_defined(handle, k):
                        keys[k] = ec.codes_get(handle, k, ktype=int)
            keys["offset"] = start
            out.append((keys, values))
        finally:
            ec.codes_release(handle)
        pos = start + keys["totalLength"]
    return out


def replace_first(text, old, new):
    """Case-insensitive replacement of the first occurrence only."""
    at = text.upper().find(old.upper())
    return text if at < 0 else text[:at] + new + text[at + len(old):]


def resolve(folder, name):
    """The reader's fallback from the current name to the older one."""
    if os.path.exists(os.path.join(folder, name)):
        return name
    old = replace_first(name, "S-OSI_-NOR_-MULT-", "")
    old = replace_first(old, "__-", "_")
    old = replace_first(old, "1200Z.grb", ".grb")
    return old if os.path.exists(os.path.join(folder, old)) else name


def siblings(conc_name):
    """Edge and type names derived from a concentration name."""
    f = replace_first(conc_name, "_CONC_NH_POLSTERE-100_MULTI_", "_CONC_NH_")
    f = replace_first(f, "_CONC_SH_POLSTERE-100_MULTI_", "_CONC_SH_")
    edge = replace_first(f, "_CONC_", "_EDGE_")
    return edge, replace_first(edge, "_EDGE_", "_TYPE_")


def date_from_name(name):
    at = name.find("20")
    return None if at < 0 else dt.datetime.strptime(name[at:at + 8], "%Y%m%d").date()


def ibm(data):
    sign = -1.0 if data[0] & 0x80 else 1.0
    return sign * int.from_bytes(data[1:4], "big") * 16.0 ** ((data[0] & 0x7F) - 64) / (1 << 24)


def proj_forward(definition, lon, lat):
    result = subprocess.run(["proj", *definition.split(), "-f", "%.3f"],
                            input=f"{lon} {lat}\n", capture_output=True, text=True, check=True)
    x, y = result.stdout.split()[:2]
    return float(x), float(y)


class SampleTreeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="norvant-sample-")
        cls.out = os.path.join(cls.tmp, "day")
        cls.printed = run_tool(os.path.join(TOOLS, "make_sample_tree.py"), cls.out,
                               "--end", END.isoformat(), "--skip", SKIPPED.isoformat())
        cls.files = sorted(os.path.join(root, f) for root, _, names in os.walk(cls.out)
                           for f in names)
        cls.decoded = {path: decode_all(read_bytes(path)) for path in cls.files}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def names(self, pattern):
        return [p for p in self.files
                if fnmatch.fnmatch(os.path.basename(p).upper(), pattern.upper())]

    def test_prints_every_file_it_writes(self):
        self.assertEqual(sorted(self.printed), self.files)

    def test_writes_a_day_folder_per_day_except_skipped(self):
        days = {os.path.relpath(os.path.dirname(p), os.path.join(self.out, "SAF"))
                for p in self.files}
        expected = {(END - dt.timedelta(days=k)).strftime("%Y/%m/%d")
                    for k in range(7) if END - dt.timedelta(days=k) != SKIPPED}
        self.assertEqual(days, expected)

    def test_every_file_holds_one_decodable_message(self):
        for path, messages in self.decoded.items():
            self.assertEqual(len(messages), 1, path)
            self.assertEqual(messages[0][0]["totalLength"], len(read_bytes(path)), path)

    def test_gzip_files_are_single_complete_members(self):
        gz = [p for p in self.files if p.endswith(".gz")]
        self.assertTrue(gz)
        for path in gz:
            with open(path, "rb") as f:
                raw = f.read()
            self.assertEqual(raw[:2], b"\x1f\x8b", path)
            data = read_bytes(path)
            self.assertEqual(data[:4], b"GRIB", path)
            self.assertEqual(data[-4:], b"7777", path)
            self.assertEqual(gzip.compress(data, compresslevel=6, mtime=0), raw, path)

    def test_latest_concentration_patterns_find_both_hemispheres(self):
        northern = self.names("*_NH_CONC__*.grb.gz") + self.names("*_NH_CONC__*.grb")
        southern = self.names("*_SH_CONC__*.grb.gz") + self.names("*_SH_CONC__*.grb")
        self.assertEqual(len(northern), 6)
        self.assertEqual(len(southern), 6)
        either = self.names("*_CONC__*.grb.gz") + self.names("*_CONC__*.grb")
        self.assertEqual(sorted(either), sorted(northern + southern))
        self.assertEqual(len(self.names("S-OSI_-FRA_-MULT-MAPSST_FIELD-*.grb.gz")), 6)

    def test_siblings_of_every_concentration_file_exist_with_their_products(self):
        concs = self.names("*_CONC_*")
        self.assertEqual(len(concs), 12)
        fallbacks = 0
        for path in concs:
            folder, name = os.path.split(path)
            date = date_from_name(name)
            for derived, parameter in zip(siblings(name), (220, 221)):
                resolved = resolve(folder, derived)
                fallbacks += resolved != derived
                full = os.path.join(folder, resolved)
                self.assertTrue(os.path.exists(full), f"{derived} from {name}")
                keys = self.decoded[full][0][0]
                self.assertEqual(keys["indicatorOfParameter"], parameter, full)
                self.assertEqual(date_from_name(resolved), date)
                self.assertEqual(keys["dataDate"], int(date.strftime("%Y%m%d")))
                self.assertEqual(keys["projectionCentreFlag"],
                                 self.decoded[path][0][0]["projectionCentreFlag"])
        self.assertEqual(fallbacks, 1, "exactly one sibling needs the older name")

    def test_names_carry_their_folder_date_and_no_quality_or_sst_marker(self):
        for path in self.files:
            name = os.path.basename(path).upper()
            folder_date = dt.datetime.strptime(
                os.path.relpath(os.path.dirname(path), os.path.join(self.out, "SAF")),
                "%Y/%m/%d").date()
            self.assertEqual(date_from_name(name), folder_date, name)
            self.assertNotIn("_Q-2", name)
            is_sst = ("-MULT-MAPSST_FIELD-" in name or "SST_FIELD-" in name
                      or name.startswith("SST12HL"))
            edition = self.decoded[path][0][0]["editionNumber"]
            self.assertEqual(is_sst, edition == 2, name)
            self.assertFalse(name.startswith("S-OSI_-DMI_-MULT-GL_"))
            self.assertNotIn("H_POLSTERE-100_MULTI_", name)

    def test_sea_ice_grids_match_the_product_grids(self):
        expected = {0: (760, 1120, -45000), 128: (790, 830, 0)}
        for path in self.names("*_CONC_*") + self.names("*_EDGE_*") + self.names("*_TYPE_*"):
            keys = self.decoded[path][0][0]
            nx, ny, lov = expected[keys["projectionCentreFlag"]]
            self.assertEqual((keys["Nx"], keys["Ny"], keys["orientationOfTheGrid"]),
                             (nx, ny, lov), path)
            self.assertEqual((keys["DxInMetres"], keys["DyInMetres"]), (10000, 10000))
            self.assertEqual(keys["scanningMode"], 0x40, "rows run from the south")
            self.assertEqual((keys["centre"], keys["generatingProcessIdentifier"]), (88, 1))
            self.assertIn(keys["table2Version"], (0, 1, 2, 3, 128, 129, 151, 202, 203, 228))

    def test_extended_grid_section_states_earth_axes_and_true_scale(self):
        for path in self.names("*_CONC_*") + self.names("*_EDGE_*") + self.names("*_TYPE_*"):
            data = read_bytes(path)
            gds = data[8 + 28:8 + 28 + 44]
            self.assertEqual(int.from_bytes(gds[:3], "big"), 44, path)
            major, minor, true_lat = ibm(gds[32:36]), ibm(gds[36:40]), ibm(gds[40:44])
            self.assertAlmostEqual(major, 6378.273, places=2)
            self.assertAlmostEqual(minor, 6356.889, places=2)
            south = gds[26] & 0x80
            self.assertEqual(round(true_lat), -70 if south else 70)

    def test_first_grid_point_is_the_bottom_left_corner_for_proj(self):
        # The grid's sphere: R (1 + sin 70) = 1.7 * 728 * 10 km.
        radius = 1.7 * 728 * 10_000.0 / (1 + np.sin(np.radians(70)))
        cases = {
            "*_NH_CONC_*": ("+proj=stere +lat_0=90 +lat_ts=70 +lon_0=-45", (-3_845_000, -5_345_000)),
            "*_SH_CONC_*": ("+proj=stere +lat_0=-90 +lat_ts=-70 +lon_0=0", (-3_945_000, -3_945_000)),
        }
        for pattern, (definition, corner) in cases.items():
            keys = self.decoded[self.names(pattern)[0]][0][0]
            lat = keys["latitudeOfFirstGridPoint"] / 1000.0
            lon = keys["longitudeOfFirstGridPoint"] / 1000.0
            x, y = proj_forward(f"{definition} +R={radius:.3f}", lon, lat)
            # Millidegrees hold the point to about 100 m.
            self.assertAlmostEqual(x, corner[0], delta=150, msg=pattern)
            self.assertAlmostEqual(y, corner[1], delta=150, msg=pattern)
            # ... and the sphere keeps it within half a cell of the real ellipsoid.
            x, y = proj_forward(f"{definition} +a=6378273 +b=6356889.44891", lon, lat)
            self.assertAlmostEqual(x, corner[0], delta=5000, msg=pattern)
            self.assertAlmostEqual(y, corner[1], delta=5000, msg=pattern)

    def test_ice_products_of_a_day_agree(self):
        for conc_path in self.names("*_CONC_*"):
            folder, name = os.path.split(conc_path)
            edge_name, type_name = siblings(name)
            conc = self.decoded[conc_path][0][1]
            edge = self.decoded[os.path.join(folder, resolve(folder, edge_name))][0][1]
            kind = self.decoded[os.path.join(folder, resolve(folder, type_name))][0][1]
            present = ~np.isnan(conc)
            shown = conc[present]
            self.assertTrue(np.all((shown == -99) | ((shown >= 0) & (shown <= 100))))
            self.assertTrue(np.all(shown == np.rint(shown)))
            self.assertTrue(set(np.unique(edge)) <= {1, 2, 3, 9, 10}, name)
            self.assertTrue(set(np.unique(kind)) <= {1, 2, 3, 4, 9, 10}, name)
            land = edge == 9
            np.testing.assert_array_equal(land, kind == 9)
            np.testing.assert_array_equal(land[present], shown == -99)
            np.testing.assert_array_equal(~present, edge == 10)
            np.testing.assert_array_equal(edge == 10, kind == 10)
            np.testing.assert_array_equal(edge == 1, kind == 1)
            sea = present & ~land
            np.testing.assert_array_equal(edge[sea] == 1, conc[sea] < 30)
            np.testing.assert_array_equal(edge[sea] == 3, conc[sea] >= 70)
            # A plausible cap: some closed ice, some open water, some land.
            for code in (1, 2, 3, 9):
                self.assertGreater(np.count_nonzero(edge == code), 1000, (name, code))
            self.assertGreater(np.count_nonzero(kind == 3) + np.count_nonzero(kind == 4), 100)

    def test_northern_pole_hole_is_left_out_by_the_bit_map(self):
        for path in self.names("*_NH_CONC_*"):
            missing = np.count_nonzero(np.isnan(self.decoded[path][0][1]))
            self.assertGreater(missing, 1000, path)
        for path in self.names("*_SH_CONC_*"):
            self.assertEqual(np.count_nonzero(np.isnan(self.decoded[path][0][1])), 0, path)

    def test_sst_is_edition_2_water_temperature_with_land_left_out(self):
        templates = []
        previous = None
        for path in self.names("S-OSI_-FRA_-MULT-MAPSST_FIELD-*"):
            keys, values = self.decoded[path][0]
            self.assertEqual((keys["discipline"], keys["parameterCategory"],
                              keys["parameterNumber"]), (10, 3, 0))
            self.assertEqual(keys["gridDefinitionTemplateNumber"], 0)
            templates.append(keys["dataRepresentationTemplateNumber"])
            shown = values[~np.isnan(values)]
            self.assertGreater(np.count_nonzero(np.isnan(values)), values.size // 5)
            self.assertGreaterEqual(shown.min(), 271.3)
            self.assertLessEqual(shown.max(), 310.0)
            if previous is not None:
                self.assertGreater(np.nanmax(np.abs(values - previous)), 0.5,
                                   "the field moves from day to day")
            previous = values
        self.assertEqual(templates.count(2), 1, "one complex-packed SST file")
        self.assertEqual(templates.count(0), len(templates) - 1)

    def test_output_depends_only_on_the_date_and_layout_moves_files(self):
        for layout, parts in (("flat", ()), ("month", ("2026", "12"))):
            out = os.path.join(self.tmp, layout)
            printed = run_tool(os.path.join(TOOLS, "make_sample_tree.py"), out,
                               "--end", END.isoformat(), "--days", "1", "--layout", layout)
            self.assertEqual(len(printed), 7)
            for path in printed:
                self.assertEqual(os.path.dirname(path), os.path.join(out, "SAF", *parts))
                name = os.path.basename(path)
                same_day = os.path.join(self.out, "SAF", "2026", "12", "05", name)
                if os.path.exists(same_day) and "MAPSST" not in name:
                    with open(path, "rb") as a, open(same_day, "rb") as b:
                        self.assertEqual(a.read(), b.read(), name)

    def test_long_names_and_plain_days_carry_the_same_messages(self):
        out = os.path.join(self.tmp, "long")
        printed = run_tool(os.path.join(TOOLS, "make_sample_tree.py"), out, "--end", END.isoformat(),
                           "--days", "1", "--names", "long", "--plain", END.isoformat())
        names = sorted(os.path.basename(p) for p in printed)
        stamp = f"{END:%Y%m%d}1200"
        self.assertEqual(names, sorted(
            [f"ice_{product}_{hemisphere}_polstere-100_multi_{stamp}.grb"
             for product in ("conc", "edge", "type") for hemisphere in ("nh", "sh")]
            + [f"S-OSI_-FRA_-MULT-MAPSST_FIELD-{stamp}Z.grb"]))
        # The same messages as the current names of that day, unpacked.
        day = os.path.join(self.out, "SAF", f"{END:%Y}", f"{END:%m}", f"{END:%d}")
        for hemisphere in ("NH", "SH"):
            for product in ("CONC", "EDGE", "TYPE"):
                current = [p for p in os.listdir(day)
                           if p.startswith(f"S-OSI_-NOR_-MULT-GL_{hemisphere}_{product}__-")]
                self.assertEqual(len(current), 1)
                long_name = os.path.join(
                    out, "SAF", f"{END:%Y}", f"{END:%m}", f"{END:%d}",
                    f"ice_{product.lower()}_{hemisphere.lower()}_polstere-100_multi_{stamp}.grb")
                with open(long_name, "rb") as f:
                    self.assertEqual(f.read(), read_bytes(os.path.join(day, current[0])))

    def test_grib1_sst_is_parameter_11_with_the_grib2_fields_values_and_land(self):
        out = os.path.join(self.tmp, "grib1-sst")
        printed = run_tool(os.path.join(TOOLS, "make_sample_tree.py"), out,
                           "--end", END.isoformat(), "--days", "1", "--grib1-sst")
        self.assertEqual(len(printed), 8)
        grib1 = [p for p in printed if "-AHLSST_FIELD-" in os.path.basename(p)]
        self.assertEqual([os.path.basename(p) for p in grib1],
                         ["S-OSI_-FRA_-MULT-AHLSST_FIELD-202612051200Z.grb"])
        (keys, values), = decode_all(read_bytes(grib1[0]))
        self.assertEqual(keys["editionNumber"], 1)
        self.assertEqual(keys["dataDate"], 20261205)
        grib2 = os.path.join(self.out, "SAF", "2026", "12", "05",
                             "S-OSI_-FRA_-MULT-MAPSST_FIELD-202612051200Z.grb.gz")
        _, reference = self.decoded[grib2][0]
        np.testing.assert_array_equal(np.isnan(values), np.isnan(reference))
        shown = ~np.isnan(values)
        # 12 bits in GRIB 2 (steps of 0.008 K), hundredths in GRIB 1.
        self.assertLess(np.max(np.abs(values[shown] - reference[shown])), 0.02)
        handle = ec.codes_new_from_message(read_bytes(grib1[0]))
        try:
            self.assertEqual(ec.codes_get(handle, "indicatorOfParameter"), 11)
            self.assertEqual((ec.codes_get(handle, "Ni"), ec.codes_get(handle, "Nj")), (720, 360))
        finally:
            ec.codes_release(handle)


def read_products(path):
    """[(keys, values, latitudes, longitudes)] of every product in a file,
    multi-product edition 2 messages split."""
    out = []
    ec.codes_grib_multi_support_on()
    try:
        with open(path, "rb") as f:
            while True:
                handle = ec.codes_grib_new_from_file(f)
                if handle is None:
                    break
                try:
                    ec.codes_set_double(handle, "missingValue", MISSING)
                    values = ec.codes_get_values(handle).astype(np.float64)
                    values[values == MISSING] = np.nan
                    keys = {}
                    for k in ("editionNumber", "bitsPerValue", "dataRepresentationTemplateNumber",
                              "orderOfSpatialDifferencing", "missingValueManagementUsed",
                              "numberOfGroupsOfDataValues", "indicatorOfParameter",
                              "parameterCategory", "parameterNumber", "scanningMode",
                              "section2Length", "projectionCentreFlag", "gridType"):
                        if ec.codes_is_defined(handle, k):
                            keys[k] = ec.codes_get(handle, k)
                    lats = ec.codes_get_array(handle, "latitudes")
                    lons = ec.codes_get_array(handle, "longitudes")
                    out.append((keys, values, lats, lons))
                finally:
                    ec.codes_release(handle)
    finally:
        ec.codes_grib_multi_support_off()
    return out


def proj_many(definition, lons, lats):
    text = "".join(f"{lo} {la}\n" for lo, la in zip(lons, lats))
    result = subprocess.run(["proj", *definition.split(), "-f", "%.3f"], input=text,
                            capture_output=True, text=True, check=True)
    xy = np.array([[float(v) for v in line.split()[:2]] for line in result.stdout.splitlines()])
    return xy[:, 0], xy[:, 1]


class GribVariantsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp(prefix="norvant-variants-")
        cls.printed = run_tool(os.path.join(TOOLS, "make_grib_variants.py"), cls.out)
        with open(os.path.join(cls.out, "manifest.json")) as f:
            cls.manifest = json.load(f)
        cls.files = {e["file"]: e for e in cls.manifest["files"]}
        cls.products = {name: read_products(os.path.join(cls.out, name)) for name in cls.files}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def entries(self):
        for name, entry in self.files.items():
            for k, message in enumerate(entry["messages"]):
                yield name, k, message, self.products[name][k]

    def test_manifest_lists_every_file_written(self):
        written = sorted(f for f in os.listdir(self.out) if f != "manifest.json")
        self.assertEqual(written, sorted(self.files))
        self.assertEqual(sorted(os.path.basename(p) for p in self.printed),
                         sorted(written + ["manifest.json"]))

    def test_every_file_decodes_to_the_products_the_manifest_lists(self):
        for name, entry in self.files.items():
            self.assertEqual(len(self.products[name]), len(entry["messages"]), name)
            for message, (keys, values, _, _) in zip(entry["messages"], self.products[name]):
                self.assertEqual(keys["editionNumber"], message["edition"], name)
                self.assertEqual(np.count_nonzero(~np.isnan(values)),
                                 message["present_count"]
                                 - sum(1 for m in message.get("missing_codes", []) if m),
                                 name)

    def test_values_are_the_packed_integers_scaled(self):
        checked = 0
        for name, _, message, (_, values, _, _) in self.entries():
            pk = message["packing"]
            if "packed" not in message:
                continue
            present = np.array([c == "1" for c in message["present"]])
            x = np.array(message["packed"], dtype=np.float64)
            expected = (pk["reference"] + x * 2.0 ** pk["binary_scale"]) / 10.0 ** pk["decimal_scale"]
            codes = np.array(message.get("missing_codes", [0] * len(x)))
            full = np.full(present.size, np.nan)
            full[np.nonzero(present)[0][codes == 0]] = expected[codes == 0]
            np.testing.assert_allclose(values, full, rtol=1e-6, atol=1e-6, err_msg=name)
            checked += 1
        self.assertGreater(checked, 50)

    def test_simple_packing_widths_and_bit_maps_are_all_there(self):
        widths = {m["packing"]["bits"]: m for n, _, m, _ in self.entries()
                  if n.startswith("g1_ps_simple_") and not m["bitmap"]}
        self.assertEqual(sorted(widths), list(range(1, 17)) + [24])
        with_map = {m["packing"]["bits"] for n, _, m, _ in self.entries()
                    if n.startswith("g1_ps_simple_") and m["bitmap"]}
        self.assertTrue({4, 8, 12, 16} <= with_map)
        for name, _, message, (keys, _, _, _) in self.entries():
            if message["edition"] == 1:
                self.assertEqual(keys["bitsPerValue"], message["packing"]["bits"], name)
            if name.startswith("g1_ps_simple_") and not message["bitmap"]:
                top = (1 << message["packing"]["bits"]) - 1
                self.assertEqual(min(message["packed"]), 0, name)
                self.assertEqual(max(message["packed"]), top, name)
        odd = self.files["g1_ps_simple_08bit_bitmap.grb"]["messages"][0]["present_count"]
        self.assertEqual(odd % 2, 1)

    @staticmethod
    def polar_definition(grid):
        lat_ts = grid["true_scale_lat"]
        radius = grid["sphere_scale_m"] / (1 + np.sin(np.radians(abs(lat_ts))))
        return (f"+proj=stere +lat_0={-90 if grid['south_pole'] else 90} "
                f"+lat_ts={lat_ts} +lon_0={grid['orientation']} +R={radius:.3f}")

    def test_pictures_agree_with_eccodes_geolocation(self):
        # ecCodes 2.28 steps polar stereographic rows towards +y whatever the
        # scanning mode says, so only grids scanned that way are placed by
        # it; the first point of the others is checked with PROJ below.
        checked = set()
        for name, _, message, (keys, values, lats, lons) in self.entries():
            grid = message["grid"]
            # It places points of alternating rows (0x10) as if every row
            # ran one way; the decoder's test checks those against the WMO
            # definition instead.
            if "picture" not in message or grid.get("scanning_mode", 0) & 0x10:
                continue
            picture = np.array(message["picture"])
            if grid["type"] == "regular_ll":
                top = max(grid["first_lat"], grid["last_lat"])
                west = grid["first_lon"] if not grid["scanning_mode"] & 0x80 else grid["last_lon"]
                rows = np.rint((top - lats) / grid["step"]).astype(int)
                cols = np.rint(((lons - west) % 360.0) / grid["step"]).astype(int)
                # A grid once around the earth repeats its first meridian
                # as its last column.
                if grid["ni"] > 1 and (grid["first_lon"] - grid["last_lon"]) % 360.0 == 0:
                    last_column = np.arange(lons.size) % grid["ni"] == grid["ni"] - 1
                    cols[(cols == 0) & last_column] = grid["ni"] - 1
            elif message["edition"] == 2 and grid["scanning_mode"] & 0x40:
                x, y = proj_many(self.polar_definition(grid), lons, lats)
                cols = np.rint((x - x.min()) / grid["dx_m"]).astype(int)
                rows = np.rint((y.max() - y) / grid["dx_m"]).astype(int)
            else:
                continue
            seen = np.full(picture.shape, -1)
            present = ~np.isnan(values)
            packed = iter(message["packed"])
            for k in range(values.size):
                if message["present"][k] == "1":
                    value = next(packed)
                    seen[rows[k], cols[k]] = value if present[k] else -1
            np.testing.assert_array_equal(seen, picture, err_msg=name)
            checked.add(grid["scanning_mode"])
        self.assertEqual(checked, {0x00, 0x20, 0x40, 0x60, 0x80, 0xC0})

    def test_polar_first_point_is_the_corner_the_scanning_mode_names(self):
        for name, _, message, _ in self.entries():
            grid = message["grid"]
            if grid["type"] != "polar_stereographic":
                continue
            x, y = proj_forward(self.polar_definition(grid), grid["first_lon"], grid["first_lat"])
            self.assertAlmostEqual(x, grid["x_first_m"], delta=20, msg=name)
            self.assertAlmostEqual(y, grid["y_first_m"], delta=20, msg=name)
            # The picture's first row is the top (+y) row: the file's first
            # row when rows run towards -y, its last one otherwise.
            picture = np.array(message["picture"])
            first_row = picture[-1 if grid["scanning_mode"] & 0x40 else 0]
            packed = np.full(grid["nx"] * grid["ny"], -1)
            present = np.array([c == "1" for c in message["present"]])
            packed[present] = message["packed"]
            np.testing.assert_array_equal(first_row, packed[:grid["nx"]], err_msg=name)

    def test_mirrored_holes_would_show(self):
        for name in ("g1_ll_scan_80_bitmap.grb", "g1_ll_scan_c0_bitmap.grb"):
            picture = np.array(self.files[name]["messages"][0]["picture"])
            self.assertFalse(np.array_equal(picture == -1, (picture == -1)[:, ::-1]), name)

    def test_polar_grids_of_either_pole_scanned_from_either_side(self):
        seen = set()
        for name, _, message, (keys, _, lats, _) in self.entries():
            grid = message["grid"]
            if grid["type"] != "polar_stereographic":
                continue
            self.assertEqual(bool(keys["projectionCentreFlag"] & 0x80), grid["south_pole"], name)
            self.assertEqual(keys["scanningMode"], grid["scanning_mode"], name)
            self.assertTrue(np.all(lats < 0) if grid["south_pole"] else np.all(lats > 0), name)
            self.assertAlmostEqual(lats[0], grid["first_lat"], places=3, msg=name)
            seen.add((message["edition"], grid["south_pole"], grid["scanning_mode"]))
        self.assertTrue({(2, False, 0), (2, False, 0x40), (2, True, 0), (2, True, 0x40),
                         (1, False, 0), (1, False, 0x40), (1, True, 0x40)} <= seen)

    def test_extended_grid_sections_for_the_sea_ice_products(self):
        for name, _, message, (keys, _, _, _) in self.entries():
            grid = message["grid"]
            if message["edition"] != 1 or grid["type"] != "polar_stereographic":
                continue
            length = 44 if grid["extended_section"] else 32
            self.assertEqual(keys["section2Length"], length, name)
            if grid["extended_section"]:
                with open(os.path.join(self.out, name), "rb") as f:
                    data = f.read()
                gds = data[8 + 28:8 + 28 + 44]
                self.assertEqual(round(ibm(gds[40:44])), round(grid["true_scale_lat"]), name)
                self.assertIn(message["parameter"], (91, 220, 221))
                self.assertEqual((message["centre"], message["process"]), (88, 1))
        edges = {m["parameter"] for n, _, m, _ in self.entries()
                 if m["edition"] == 1 and m["grid"].get("extended_section")}
        self.assertEqual(edges, {91, 220, 221})

    def test_lat_lon_grids_cross_greenwich(self):
        for name in ("g1_ll_cross_0E.grb", "g2_ll_cross_0E.grb2"):
            _, _, _, lons = self.products[name][0]
            wrapped = (lons + 180.0) % 360.0 - 180.0
            self.assertLess(wrapped.min(), 0, name)
            self.assertGreater(wrapped.max(), 0, name)
        g2 = self.files["g2_ll_cross_0E.grb2"]["messages"][0]["grid"]
        self.assertGreater(g2["first_lon"], g2["last_lon"])

    def test_complex_packing_variants(self):
        found = set()
        for name, _, message, (keys, _, _, _) in self.entries():
            if not message["packing"]["template"].startswith("complex"):
                continue
            template = keys["dataRepresentationTemplateNumber"]
            order = keys.get("orderOfSpatialDifferencing", 0) if template == 3 else 0
            mvm = keys["missingValueManagementUsed"]
            self.assertGreater(keys["numberOfGroupsOfDataValues"], 1, name)
            found.add((template, order, mvm, message["bitmap"]))
        self.assertTrue({(2, 0, 0, False), (2, 0, 0, True), (2, 0, 1, False),
                         (2, 0, 2, False), (3, 1, 0, False), (3, 1, 0, True),
                         (3, 2, 0, False), (3, 2, 0, True), (3, 2, 2, False)} <= found, found)

    def test_multi_message_files_hold_concentration_behind_other_fields(self):
        expected = {
            "S-OSI_-DMI_-MULT-GL_NH_CONC__multi_conc_second.grb": [230, 91],
            "multi_NH_POLSTERE-100_MULTI_conc_third.grb": [230, 232, 91],
            "multi_NH_POLSTERE-100_MULTI_no_conc.grb": [230, 231, 232],
        }
        for name, parameters in expected.items():
            upper = name.upper()
            self.assertTrue(upper.startswith("S-OSI_-DMI_-MULT-GL_")
                            or "H_POLSTERE-100_MULTI_" in upper)
            got = [keys["indicatorOfParameter"] for keys, _, _, _ in self.products[name]]
            self.assertEqual(got, parameters, name)
            with open(os.path.join(self.out, name), "rb") as f:
                data = f.read()
            for message in self.files[name]["messages"]:
                self.assertEqual(data[message["offset"]:message["offset"] + 4], b"GRIB")

    def test_bitmap_reuse_message_has_indicator_254_on_its_second_product(self):
        with open(os.path.join(self.out, "g2_two_products_bitmap_reuse.grb2"), "rb") as f:
            data = f.read()
        pos, indicators = 16, []
        while data[pos:pos + 4] != b"7777":
            length = int.from_bytes(data[pos:pos + 4], "big")
            if data[pos + 4] == 6:
                indicators.append(data[pos + 5])
            pos += length
        self.assertEqual(indicators, [0, 254])
        products = self.products["g2_two_products_bitmap_reuse.grb2"]
        self.assertEqual([k["parameterCategory"] for k, _, _, _ in products], [3, 192])
        np.testing.assert_array_equal(np.isnan(products[0][1]), np.isnan(products[1][1]))

    def test_smallest_packed_value_above_zero(self):
        for name in ("g2_sst_rawmin_above_zero.grb2", "g1_temperature_rawmin_above_zero.grb"):
            message = self.files[name]["messages"][0]
            self.assertGreater(min(message["packed"]), 0, name)
        sst = self.products["g2_sst_rawmin_above_zero.grb2"][0][0]
        self.assertEqual((sst["parameterCategory"], sst["parameterNumber"]), (3, 0))


if __name__ == "__main__":
    unittest.main(verbosity=2)
