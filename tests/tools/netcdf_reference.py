#!/usr/bin/python3
"""Reference decoding of netCDF sample files for the oracle test, by
netCDF4-python and pyproj alone.

    netcdf_reference.py OUT FILE...

For each FILE writes OUT/<name>.values (float32 little-endian, one per
picture pixel, top row first, NaN where there is no value) and
OUT/<name>.positions (float64 little-endian: column, row, latitude,
longitude of every 16th pixel centre in both directions), and
OUT/manifest.json with width, height and the parameter code.

The picture has its largest y (latitude) on top and its smallest x
(longitude) on the left. Values: concentration in whole percent 0..100 and
101 where the status flag says land; edge and type as 1 open water, 2 open
ice / first-year ice, 3 closed ice / multi-year ice, 4 ambiguous, 9 land,
10 unclassified, from flag_meanings; SST in kelvin."""

import gzip
import json
import os
import sys
import tempfile

import netCDF4
import numpy as np
import pyproj

STEP = 16
CLASS_CODES = {"open_water": 1, "open_ice": 2, "closed_ice": 3, "first_year_ice": 2, "multi_year_ice": 3,
               "ambiguous": 4, "land": 9, "unclassified": 10}


def open_dataset(path):
    if path.endswith(".gz"):
        with gzip.open(path, "rb") as packed:
            return netCDF4.Dataset("inmemory.nc", memory=packed.read())
    return netCDF4.Dataset(path)


def land_mask(ds, shape):
    if "status_flag" not in ds.variables:
        return np.zeros(shape, bool)
    status = ds.variables["status_flag"]
    status.set_auto_mask(False)
    values = np.asarray(status[0]).astype(np.int64)
    meanings = status.flag_meanings.split()
    index = meanings.index("land")
    if "flag_masks" in status.ncattrs():
        return (values & int(np.atleast_1d(status.flag_masks)[index])) != 0
    return values == int(np.atleast_1d(status.flag_values)[index])


def classes(variable):
    meanings = [m.lower().replace("-", "_") for m in variable.flag_meanings.split()]
    values = np.ma.asarray(variable[0])
    out = np.full(values.shape, np.nan)
    for value, meaning in zip(np.atleast_1d(variable.flag_values), meanings):
        if meaning in CLASS_CODES:
            out[(values == value).filled(False)] = CLASS_CODES[meaning]
    return out


def decode(ds):
    if "ice_conc" in ds.variables:
        conc = np.ma.asarray(ds.variables["ice_conc"][0]).astype(np.float64)
        values = np.clip(np.rint(conc.filled(np.nan)), 0, 100)
        values[land_mask(ds, values.shape)] = 101
        return values, 91
    for name, code in (("ice_edge", 220), ("ice_type", 221)):
        if name in ds.variables:
            values = classes(ds.variables[name])
            values[land_mask(ds, values.shape)] = 9
            return values, code
    sst = ds.variables["analysed_sst"]
    kelvin = np.ma.asarray(sst[0]).astype(np.float64).filled(np.nan)
    if sst.units.lower() in ("degc", "celsius"):
        kelvin += 273.15
    return kelvin, 310010000


def axes(ds):
    """x and y coordinate arrays (metres, or degrees) and the transformer
    from them to longitude and latitude."""
    if "xc" in ds.variables:
        mapping = next(v for v in ds.variables.values() if "grid_mapping_name" in v.ncattrs())
        crs = pyproj.CRS.from_cf({k: mapping.getncattr(k) for k in mapping.ncattrs() if k != "proj4_string"})
        scale = 1000.0 if ds.variables["xc"].units == "km" else 1.0
        return (ds.variables["xc"][:] * scale, ds.variables["yc"][:] * scale,
                pyproj.Transformer.from_crs(crs, crs.geodetic_crs, always_xy=True))
    return ds.variables["lon"][:], ds.variables["lat"][:], None


def reference(path, out):
    ds = open_dataset(path)
    values, code = decode(ds)
    x, y, transformer = axes(ds)
    x = np.asarray(x, np.float64)
    y = np.asarray(y, np.float64)
    if y[-1] > y[0]:
        values, y = values[::-1], y[::-1]
    if x[-1] < x[0]:
        values, x = values[:, ::-1], x[::-1]
    height, width = values.shape
    name = os.path.basename(path)
    values.astype("<f4").tofile(os.path.join(out, name + ".values"))
    rows, columns = np.meshgrid(np.arange(0, height, STEP), np.arange(0, width, STEP), indexing="ij")
    px, py = x[columns], y[rows]
    if transformer is None:
        lon, lat = px, py
    else:
        lon, lat = transformer.transform(px, py)
    np.stack([columns, rows, lat, lon], axis=-1).astype("<f8").tofile(os.path.join(out, name + ".positions"))
    ds.close()
    return {"width": width, "height": height, "parameterCode": code}


def main(argv):
    out = argv[1]
    manifest = {os.path.basename(p): reference(p, out) for p in argv[2:]}
    with open(os.path.join(out, "manifest.json"), "w") as f:
        json.dump(manifest, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
