#!/usr/bin/python3
"""Writes one small GRIB file of each grid kind the viewer places, for the
geometry tests: polar stereographic north and south in both editions on a
sphere and on the Hughes 1980 ellipsoid (edition 1 through the extended
grid section of the sea-ice products, edition 2 through the shape of the
earth), from the top and from the bottom row, with unequal cell sides;
Lambert conformal; rotated latitude/longitude in both editions; space view;
regular latitude/longitude scanned 0x00, 0x40 and 0x80.
    make_geometry_grids.py OUT
Every grid is framed by ecCodes. Prints every file written."""
import os
import sys
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import datetime as dt  # noqa: E402

import eccodes as ec  # noqa: E402
import numpy as np  # noqa: E402
from samplelib import encode, grids  # noqa: E402

HUGHES_M = (6378273, 6356889)


def _set(handle, keys):
    for key, value in keys:
        if isinstance(value, float):
            ec.codes_set_double(handle, key, value)
        else:
            ec.codes_set(handle, key, value)


def framed(sample, keys, points_key=None):
    """A message from an ecCodes sample with the keys set in order and a
    smooth field of 8-bit values."""
    handle = ec.codes_grib_new_from_samples(sample)
    try:
        _set(handle, keys)
        if points_key:
            ni, nj = (ec.codes_get(handle, k) for k in points_key)
            ec.codes_set(handle, "numberOfDataPoints", ni * nj)
        count = ec.codes_get(handle, "numberOfDataPoints")
        ec.codes_set(handle, "bitsPerValue", 8)
        ec.codes_set_values(handle, (np.arange(count) % 97).astype(np.float64))
        return bytes(ec.codes_get_message(handle))
    finally:
        ec.codes_release(handle)


def polar1(south, scanning, oblate=False, dx=25000, dy=25000):
    return framed("polar_stereographic_sfc_grib1", [
        ("Nx", 90), ("Ny", 70),
        ("latitudeOfFirstGridPointInDegrees", -40.0 if south else 40.0),
        ("longitudeOfFirstGridPointInDegrees", -100.0),
        ("orientationOfTheGridInDegrees", 20.0 if south else -45.0),
        ("DxInMetres", dx), ("DyInMetres", dy),
        ("projectionCentreFlag", 128 if south else 0),
        ("resolutionAndComponentFlags", 64 if oblate else 0),
        ("scanningMode", scanning)])


def polar1_hughes(south):
    """The sea-ice products' own layout: an extended grid section with the
    Hughes axes and true scale at 70 degrees."""
    grid = grids.PolarGrid("H", 80, 60, 50_000.0, -2_000_000.0, 1_500_000.0,
                           0.0 if south else -45.0, south, -70.0 if south else 70.0)
    field = encode.Grib1Field(parameter=encode.ICE_CONC, date=dt.date(2026, 12, 1),
                              values=(np.arange(60 * 80) % 97).reshape(60, 80).astype(np.float64))
    return encode.polar_grib1(field, grid, extended=True, scanning=0x40)


def polar2(south, scanning, hughes):
    earth = ([("shapeOfTheEarth", 7), ("scaleFactorOfEarthMajorAxis", 0),
              ("scaledValueOfEarthMajorAxis", HUGHES_M[0]), ("scaleFactorOfEarthMinorAxis", 0),
              ("scaledValueOfEarthMinorAxis", HUGHES_M[1])] if hughes else [("shapeOfTheEarth", 6)])
    return framed("polar_stereographic_sfc_grib2", earth + [
        ("Nx", 90), ("Ny", 70),
        ("latitudeOfFirstGridPointInDegrees", -40.0 if south else 40.0),
        ("longitudeOfFirstGridPointInDegrees", 250.0),
        ("LaDInDegrees", -70.0 if south else 70.0),
        ("orientationOfTheGridInDegrees", 20.0 if south else 315.0),
        ("DxInMetres", 25000), ("DyInMetres", 25000),
        ("projectionCentreFlag", 128 if south else 0),
        ("scanningMode", scanning)], points_key=("Nx", "Ny"))


def lambert1():
    return framed("GRIB1", [
        ("dataRepresentationType", 3), ("Nx", 50), ("Ny", 40),
        ("latitudeOfFirstGridPointInDegrees", 20.0), ("longitudeOfFirstGridPointInDegrees", -30.0),
        ("LoVInDegrees", -10.0), ("DxInMetres", 40000), ("DyInMetres", 40000),
        ("Latin1InDegrees", 30.0), ("Latin2InDegrees", 60.0), ("scanningMode", 0x40)])


def rotated1(scanning):
    north_first = not scanning & 0x40
    return framed("GRIB1", [
        ("dataRepresentationType", 10), ("Ni", 40), ("Nj", 30),
        ("latitudeOfFirstGridPointInDegrees", 19.0 if north_first else -10.0),
        ("longitudeOfFirstGridPointInDegrees", -12.0),
        ("latitudeOfLastGridPointInDegrees", -10.0 if north_first else 19.0),
        ("longitudeOfLastGridPointInDegrees", 27.0),
        ("iDirectionIncrementInDegrees", 1.0), ("jDirectionIncrementInDegrees", 1.0),
        ("latitudeOfSouthernPoleInDegrees", -40.0), ("longitudeOfSouthernPoleInDegrees", 10.0),
        ("scanningMode", scanning)])


def rotated2():
    return framed("GRIB2", [
        ("gridDefinitionTemplateNumber", 1), ("Ni", 40), ("Nj", 30),
        ("latitudeOfFirstGridPointInDegrees", 19.0), ("longitudeOfFirstGridPointInDegrees", 348.0),
        ("latitudeOfLastGridPointInDegrees", -10.0), ("longitudeOfLastGridPointInDegrees", 27.0),
        ("iDirectionIncrementInDegrees", 1.0), ("jDirectionIncrementInDegrees", 1.0),
        ("latitudeOfSouthernPoleInDegrees", -40.0), ("longitudeOfSouthernPoleInDegrees", 10.0),
        ("scanningMode", 0)], points_key=("Ni", "Nj"))


def space_view1():
    return framed("GRIB1", [
        ("dataRepresentationType", 90), ("Nx", 100), ("Ny", 100),
        ("longitudeOfSubSatellitePointInDegrees", 9.5),
        ("dx", 90), ("dy", 90), ("XpInGridLengths", 50), ("YpInGridLengths", 50),
        ("Nr", 6610700), ("scanningMode", 0)])


def latlon1(scanning):
    west_first = not scanning & 0x80
    north_first = not scanning & 0x40
    return framed("GRIB1", [
        ("Ni", 36), ("Nj", 25),
        ("latitudeOfFirstGridPointInDegrees", 60.0 if north_first else 12.0),
        ("longitudeOfFirstGridPointInDegrees", -20.0 if west_first else 50.0),
        ("latitudeOfLastGridPointInDegrees", 12.0 if north_first else 60.0),
        ("longitudeOfLastGridPointInDegrees", 50.0 if west_first else -20.0),
        ("iDirectionIncrementInDegrees", 2.0), ("jDirectionIncrementInDegrees", 2.0),
        ("scanningMode", scanning)])


FILES = {
    "g1-ps-north-sphere.grb": lambda: polar1(False, 0x40),
    "g1-ps-north-sphere-topdown.grb": lambda: polar1(False, 0x00),
    "g1-ps-south-sphere.grb": lambda: polar1(True, 0x40),
    "g1-ps-north-oblate.grb": lambda: polar1(False, 0x40, oblate=True),
    "g1-ps-north-dx-dy.grb": lambda: polar1(False, 0x40, dx=25000, dy=20000),
    "g1-ps-north-hughes.grb": lambda: polar1_hughes(False),
    "g1-ps-south-hughes.grb": lambda: polar1_hughes(True),
    "g2-ps-north-sphere.grb2": lambda: polar2(False, 0x40, False),
    "g2-ps-north-sphere-topdown.grb2": lambda: polar2(False, 0x00, False),
    "g2-ps-south-sphere.grb2": lambda: polar2(True, 0x40, False),
    "g2-ps-north-hughes.grb2": lambda: polar2(False, 0x40, True),
    "g2-ps-south-hughes.grb2": lambda: polar2(True, 0x40, True),
    "g1-lambert.grb": lambert1,
    "g1-rotated.grb": lambda: rotated1(0x40),
    "g1-rotated-topdown.grb": lambda: rotated1(0x00),
    "g2-rotated.grb2": rotated2,
    "g1-space-view.grb": space_view1,
    "g1-latlon-00.grb": lambda: latlon1(0x00),
    "g1-latlon-40.grb": lambda: latlon1(0x40),
    "g1-latlon-80.grb": lambda: latlon1(0x80),
}


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    os.makedirs(argv[0], exist_ok=True)
    for name, make in FILES.items():
        path = os.path.join(argv[0], name)
        with open(path, "wb") as out:
            out.write(make())
        print(path)


if __name__ == "__main__":
    main(sys.argv[1:])
