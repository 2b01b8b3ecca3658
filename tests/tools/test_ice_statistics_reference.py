#!/usr/bin/python3
"""Sea-ice extent and area of the sample concentration files, computed
without Norvant: ecCodes decodes the values, pyproj places the grid on the
earth the files state (the Hughes 1980 ellipsoid, true scale at 70 degrees)
and gives the areal scale factor of every cell, numpy sums. The same for the
EASE2 netCDF sample, decoded by netCDF4-python on the grid its CF grid
mapping states (Lambert azimuthal equal-area on WGS 84). norvant-inspect
--json must agree within 0.1 %, and count the same holes.

    test_ice_statistics_reference.py NORVANT_INSPECT"""

import datetime as dt
import gzip
import json
import os
import subprocess
import sys
import tempfile
import unittest

import eccodes as ec
import netCDF4
import numpy as np
import pyproj

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
END = dt.date(2026, 12, 5)
HUGHES_M = (6378273.0, 6356889.0)
LAND = -99.0
THRESHOLD = 15.0
TOLERANCE = 0.001
INSPECT = None


def read_message(path):
    with open(path, "rb") as f:
        data = f.read()
    if path.endswith(".gz"):
        data = gzip.decompress(data)
    return data


def reference(path):
    """Extent and area in km² and the hole share of the ocean cells."""
    handle = ec.codes_new_from_message(read_message(path))
    try:
        nx, ny = ec.codes_get(handle, "Nx"), ec.codes_get(handle, "Ny")
        dx, dy = ec.codes_get(handle, "DxInMetres"), ec.codes_get(handle, "DyInMetres")
        lat1 = ec.codes_get_double(handle, "latitudeOfFirstGridPointInDegrees")
        lon1 = ec.codes_get_double(handle, "longitudeOfFirstGridPointInDegrees")
        lov = ec.codes_get_double(handle, "orientationOfTheGridInDegrees")
        south = ec.codes_get(handle, "projectionCentreFlag") & 128 != 0
        scanning = ec.codes_get(handle, "scanningMode")
        missing = ec.codes_get_double(handle, "missingValue")
        values = ec.codes_get_values(handle).reshape(ny, nx)
    finally:
        ec.codes_release(handle)
    pole = -90 if south else 90
    proj = pyproj.Proj(f"+proj=stere +lat_0={pole} +lat_ts={70 if not south else -70} +lon_0={lov} "
                       f"+a={HUGHES_M[0]} +b={HUGHES_M[1]}")
    x0, y0 = proj(lon1, lat1)
    rows_up = scanning & 0x40 != 0
    x = x0 + np.arange(nx) * dx
    y = y0 + np.arange(ny) * (dy if rows_up else -dy)
    xx, yy = np.meshgrid(x, y)
    lon, lat = proj(xx, yy, inverse=True)
    cell_km2 = dx * dy / proj.get_factors(lon, lat).areal_scale / 1e6
    holes = values == missing
    ocean = (values != LAND) | holes
    ice = ~holes & (values >= THRESHOLD) & (values <= 100)
    return (float(np.sum(cell_km2[ice])), float(np.sum(cell_km2[ice] * values[ice] / 100)),
            float(np.sum(holes) / np.sum(ocean)))


def netcdf_reference(path):
    """As reference(), for a CF netCDF concentration with a status flag."""
    with netCDF4.Dataset(path) as ds:
        conc = np.ma.asarray(ds["ice_conc"][0]).astype(np.float64)
        status = ds["status_flag"]
        status.set_auto_mask(False)
        land_value = status.flag_values[status.flag_meanings.split().index("land")]
        land = np.asarray(status[0]) == land_value
        mapping = ds[ds["ice_conc"].grid_mapping]
        crs = pyproj.CRS.from_cf({k: mapping.getncattr(k) for k in mapping.ncattrs() if k != "proj4_string"})
        scale = 1000.0 if ds["xc"].units == "km" else 1.0
        x, y = ds["xc"][:] * scale, ds["yc"][:] * scale
    proj = pyproj.Proj(crs)
    xx, yy = np.meshgrid(x, y)
    lon, lat = proj(xx, yy, inverse=True)
    cell_km2 = abs(x[1] - x[0]) * abs(y[1] - y[0]) / proj.get_factors(lon, lat).areal_scale / 1e6
    holes = np.ma.getmaskarray(conc) & ~land
    values = conc.filled(0)
    ice = ~holes & ~land & (values >= THRESHOLD)
    return (float(np.sum(cell_km2[ice])), float(np.sum(cell_km2[ice] * values[ice] / 100)),
            float(np.sum(holes) / np.sum(~land)))


def inspect(path):
    return json.loads(subprocess.run([INSPECT, path, "--json"], check=True, capture_output=True, text=True).stdout)


class SampleConcentration(unittest.TestCase):
    FORMAT = "grib"

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "make_sample_tree.py"),
                        cls.folder.name, "--days", "1", "--end", END.isoformat(), "--format", cls.FORMAT],
                       check=True, capture_output=True, timeout=600)
        cls.day = os.path.join(cls.folder.name, "SAF", END.strftime("%Y/%m/%d"))

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def concentration_file(self, hemisphere):
        names = [n for n in os.listdir(self.day) if f"_{hemisphere}_CONC_" in n.upper()]
        self.assertEqual(len(names), 1, names)
        return os.path.join(self.day, names[0])

    def test_extent_and_area_agree_with_pyproj_factors(self):
        for hemisphere in ("NH", "SH"):
            with self.subTest(hemisphere=hemisphere):
                path = self.concentration_file(hemisphere)
                holes = self.check_agreement(path, reference(path))
                if hemisphere == "NH":
                    self.assertGreater(holes, 0)  # the pole hole

    def check_agreement(self, path, expected):
        """Compares norvant-inspect's figures for `path` with the reference
        (extent, area, hole fraction); returns the hole fraction."""
        extent, area, holes = expected
        shown = inspect(path)
        self.assertGreater(extent, 1e6)
        self.assertAlmostEqual(shown["extentKm2"] / extent, 1, delta=TOLERANCE)
        self.assertAlmostEqual(shown["areaKm2"] / area, 1, delta=TOLERANCE)
        self.assertAlmostEqual(shown["holeFraction"], holes, delta=1e-9)
        return holes


class Ease2NetCdfConcentration(SampleConcentration):
    FORMAT = "netcdf"

    def test_extent_and_area_agree_with_pyproj_factors(self):
        names = [n for n in os.listdir(self.day) if n.startswith("ice_conc_nh_ease2-250_")]
        self.assertEqual(len(names), 1, names)
        path = os.path.join(self.day, names[0])
        holes = self.check_agreement(path, netcdf_reference(path))
        self.assertGreater(holes, 0)  # lakes and the pole hole


if __name__ == "__main__":
    INSPECT = sys.argv.pop(1)
    unittest.main()
