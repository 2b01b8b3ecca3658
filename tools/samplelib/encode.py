"""GRIB messages of the sample products, framed by ecCodes from its shipped
samples, with the data sections packed here where the packing must be
exactly as chosen. Every message is read back by ecCodes before use."""

import dataclasses

import eccodes as ec
import numpy as np

from . import packing

MISSING = 9999.0                 # stand-in for a missing value when handing fields to ecCodes
CENTRE_OSLO = 88                 # the sea-ice products come from Oslo
CENTRE_TOULOUSE = 85             # the SST analyses from Toulouse
ICE_TABLE_VERSION = 128          # local parameter table of the sea-ice products
ICE_PROCESS = 1
HUGHES_AXES_KM = (6378.273, 6356.889)   # earth of the sea-ice products

ICE_CONC, ICE_EDGE, ICE_TYPE = 91, 220, 221
SST_PARAMETER = 11               # edition 1 temperature, the SST of the older files


@dataclasses.dataclass
class Grib1Field:
    """One edition 1 message to write. values has shape (rows, columns) in
    file order (row 0 read first); present is None or a boolean array of
    the same shape (False = left out by the bit map)."""
    parameter: int
    date: object
    values: np.ndarray
    present: object = None
    bits: int = 8
    decimal_scale: int = 0
    binary_scale: int = 0
    reference: object = None          # default: smallest present value, scaled
    centre: int = CENTRE_OSLO
    process: int = ICE_PROCESS
    table_version: int = ICE_TABLE_VERSION
    hour: int = 12


def _set_all(handle, keys):
    for key, value in keys.items():
        if isinstance(value, float):
            ec.codes_set_double(handle, key, value)
        else:
            ec.codes_set(handle, key, value)


def _field_keys(field):
    return {
        "centre": field.centre, "subCentre": 0,
        "table2Version": field.table_version,
        "generatingProcessIdentifier": field.process,
        "indicatorOfParameter": field.parameter,
        "indicatorOfTypeOfLevel": 1, "level": 0,
        "dataDate": int(field.date.strftime("%Y%m%d")),
        "dataTime": field.hour * 100,
        "unitOfTimeRange": 1, "P1": 0, "P2": 0, "timeRangeIndicator": 0,
    }


def _message_with_own_packing(handle, field):
    """Lets ecCodes write the frame and bit map, then swaps in a binary
    data section packed with the requested reference and scales."""
    values = np.asarray(field.values, dtype=np.float64)
    present = (np.ones(values.shape, dtype=bool) if field.present is None
               else np.asarray(field.present, dtype=bool))
    if field.present is not None:
        ec.codes_set(handle, "bitmapPresent", 1)
        ec.codes_set_double(handle, "missingValue", MISSING)
    ec.codes_set(handle, "bitsPerValue", field.bits)
    ec.codes_set_values(handle, np.where(present, values, MISSING).ravel())
    message = ec.codes_get_message(handle)

    shown = values[present]
    reference = field.reference
    if reference is None:
        reference = float(shown.min() * 10.0 ** field.decimal_scale) if shown.size else 0.0
    reference_ibm = packing.ibm_float(reference)
    reference = packing.ibm_to_float(reference_ibm)
    packed = packing.simple_pack(shown, reference, field.binary_scale,
                                 field.decimal_scale, field.bits)
    pds, gds, bms, _ = packing.grib1_sections(message)
    pds = packing.grib1_set_decimal_scale(pds, field.decimal_scale)
    bds = packing.grib1_bds(packed, field.bits, field.binary_scale, reference_ibm)
    return pds, gds, bms, bds


def polar_grib1(field, grid, extended=True, scanning=0x40):
    """An edition 1 message on one of the polar sea-ice grids. With the
    default scanning the rows run from the south, so the first grid point
    is the bottom-left one."""
    if scanning & 0x40:
        lat1, lon1 = grid.first_point_south_up()
    else:
        lat1, lon1 = grid.to_latlon(grid.x_centres()[0],
                                    grid.y_centres_south_up()[-1])
        lat1, lon1 = float(lat1), float(lon1)
    if scanning & 0x80:
        raise ValueError("the polar grids are written west to east")
    handle = ec.codes_grib_new_from_samples("polar_stereographic_sfc_grib1")
    try:
        _set_all(handle, _field_keys(field))
        _set_all(handle, {
            "Nx": grid.nx, "Ny": grid.ny,
            "latitudeOfFirstGridPointInDegrees": lat1,
            "longitudeOfFirstGridPointInDegrees": lon1,
            "orientationOfTheGridInDegrees": float(grid.orientation),
            "DxInMetres": int(grid.dx_m), "DyInMetres": int(grid.dx_m),
            "projectionCentreFlag": 128 if grid.south else 0,
            "resolutionAndComponentFlags": 0,
            "scanningMode": scanning,
        })
        pds, gds, bms, bds = _message_with_own_packing(handle, field)
    finally:
        ec.codes_release(handle)
    if extended:
        gds = packing.grib1_extend_gds(gds, HUGHES_AXES_KM[0], HUGHES_AXES_KM[1],
                                       grid.true_lat)
    return packing.grib1_message(pds, gds, bms, bds)


def latlon_grib1(field, lat_first, lon_first, lat_last, lon_last, step, scanning=0x00):
    handle = ec.codes_grib_new_from_samples("GRIB1")
    try:
        rows, cols = np.asarray(field.values).shape
        _set_all(handle, _field_keys(field))
        _set_all(handle, {
            "Ni": cols, "Nj": rows,
            "latitudeOfFirstGridPointInDegrees": float(lat_first),
            "longitudeOfFirstGridPointInDegrees": float(lon_first),
            "latitudeOfLastGridPointInDegrees": float(lat_last),
            "longitudeOfLastGridPointInDegrees": float(lon_last),
            "iDirectionIncrementInDegrees": float(step),
            "jDirectionIncrementInDegrees": float(step),
            "scanningMode": scanning,
        })
        pds, gds, bms, bds = _message_with_own_packing(handle, field)
    finally:
        ec.codes_release(handle)
    return packing.grib1_message(pds, gds, bms, bds)


@dataclasses.dataclass
class Grib2Field:
    """One edition 2 product. values in file order, NaN = missing (a bit
    map is written when any value is NaN or bitmap is True)."""
    discipline: int
    category: int
    number: int
    date: object
    values: np.ndarray
    packing_type: str = "grid_simple"
    bits: int = 12
    centre: int = CENTRE_TOULOUSE
    hour: int = 12
    bitmap: bool = False


def _grib2_handle(field, grid_keys, sample="GRIB2"):
    handle = ec.codes_grib_new_from_samples(sample)
    values = np.asarray(field.values, dtype=np.float64)
    missing = np.isnan(values)
    _set_all(handle, {
        "discipline": field.discipline, "centre": field.centre, "subCentre": 0,
        "significanceOfReferenceTime": 0, "typeOfProcessedData": 0,
        "dataDate": int(field.date.strftime("%Y%m%d")),
        "dataTime": field.hour * 100,
    })
    _set_all(handle, grid_keys)
    _set_all(handle, {
        "productDefinitionTemplateNumber": 0,
        "parameterCategory": field.category, "parameterNumber": field.number,
        "typeOfGeneratingProcess": 0, "forecastTime": 0,
        "typeOfFirstFixedSurface": 1,
    })
    if missing.any() or field.bitmap:
        ec.codes_set(handle, "bitmapPresent", 1)
        ec.codes_set_double(handle, "missingValue", MISSING)
    ec.codes_set(handle, "bitsPerValue", field.bits)
    ec.codes_set_values(handle, np.where(missing, MISSING, values).ravel())
    if field.packing_type != "grid_simple":
        # Changing the packing repacks the values already set.
        ec.codes_set(handle, "packingType", field.packing_type)
    return handle


def latlon_grib2_keys(cols, rows, lat_first, lon_first, lat_last, lon_last, step, scanning=0):
    return {
        "gridType": "regular_ll", "Ni": cols, "Nj": rows,
        "latitudeOfFirstGridPointInDegrees": float(lat_first),
        "longitudeOfFirstGridPointInDegrees": float(lon_first) % 360.0,
        "latitudeOfLastGridPointInDegrees": float(lat_last),
        "longitudeOfLastGridPointInDegrees": float(lon_last) % 360.0,
        "iDirectionIncrementInDegrees": float(step),
        "jDirectionIncrementInDegrees": float(step),
        "scanningMode": scanning,
    }


def grib2_message(field, grid_keys, sample="GRIB2"):
    handle = _grib2_handle(field, grid_keys, sample)
    try:
        return ec.codes_get_message(handle)
    finally:
        ec.codes_release(handle)


def read_back(message):
    """(keys, values) of a message as ecCodes decodes it; missing = NaN."""
    handle = ec.codes_new_from_message(message)
    try:
        ec.codes_set_double(handle, "missingValue", MISSING)
        values = ec.codes_get_values(handle).astype(np.float64)
        values[values == MISSING] = np.nan
        keys = {}
        for key in ("editionNumber", "centre", "totalLength", "Ni", "Nj",
                    "bitsPerValue", "packingType", "numberOfMissing"):
            if ec.codes_is_defined(handle, key):
                keys[key] = ec.codes_get(handle, key)
        return keys, values
    finally:
        ec.codes_release(handle)


def check_values(message, expected, tolerance=0.0):
    """Raises unless ecCodes decodes the message to the expected values
    (NaN where a value is missing) within the tolerance."""
    _, got = read_back(message)
    expected = np.asarray(expected, dtype=np.float64).ravel()
    if got.shape != expected.shape:
        raise AssertionError(f"decoded {got.shape} values, expected {expected.shape}")
    if not np.array_equal(np.isnan(got), np.isnan(expected)):
        raise AssertionError("missing points differ from the bit map written")
    shown = ~np.isnan(expected)
    worst = float(np.max(np.abs(got[shown] - expected[shown]), initial=0.0))
    if worst > tolerance:
        raise AssertionError(f"decoded values differ by up to {worst}")
