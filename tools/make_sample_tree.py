#!/usr/bin/python3
"""Writes a sample "SAF" data tree: sea-ice concentration, edge and type of
both hemispheres (GRIB 1 on the 10 km polar stereographic grids) and
sea-surface temperature (GRIB 2, global half-degree grid) for a run of days.

    make_sample_tree.py OUT [--days N] [--end YYYY-MM-DD] [--skip DATE ...]
                            [--layout day|flat|month] [--seed S] [--grib1-sst]
                            [--names current|long] [--plain DATE ...]

The files land in OUT/SAF/yyyy/mm/dd/ (day layout, the default), OUT/SAF/
(flat) or OUT/SAF/yyyy/mm/ (month). Which variation goes where:
  - northern sea-ice files are gzip-compressed (.grb.gz), southern ones are
    plain .grb; so are their edge and type siblings;
  - on the second newest day written (the only one when just one is), the
    southern edge file carries the older name (GL_SH_EDGE_yyyymmdd.grb) that
    a reader falls back to, and the SST file is complex-packed;
  - the northern concentration has a bit map leaving out the pole hole; the
    SST has a bit map leaving out land;
  - with --names long every sea-ice file carries the multi-product name
    (ice_conc_nh_polstere-100_multi_yyyymmdd1200.grb) and no older name is
    written;
  - on the days given to --plain, the files that are otherwise gzip-
    compressed (northern sea ice, SST) are written plain, without ".gz".
  - with --grib1-sst, each day's SST is also written as GRIB 1 (parameter 11,
    the SST analyses' older edition-1 form, under the name
    S-OSI_-FRA_-MULT-AHLSST_FIELD-yyyymmdd1200Z.grb), which the viewer doubles
    by interpolation when zoomed.
With --format netcdf the same days are written as CF netCDF files instead,
laid out as the facility distributes them today (samplelib/netcdf.py):
ice_{conc,edge,type}_{nh,sh}_polstere-100_multi_yyyymmdd1200.nc each day,
the southern set gzip-compressed (.nc.gz) on the second newest day, one
EASE2 concentration (ice_conc_nh_ease2-250_...) on the newest day, and a
GHRSST-style SST (yyyymmdd120000-OSISAF-L4_GHRSST-SST...nc) each day.
The output depends only on the arguments. Prints every file written."""

import argparse
import datetime as dt
import gzip
import os
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import numpy as np  # noqa: E402

from samplelib import encode, grids, names, products  # noqa: E402

HEMISPHERES = (("NH", grids.NORTH_ICE, ".grb.gz"), ("SH", grids.SOUTH_ICE, ".grb"))
# Southern edge and type are written with 4 bits per value: their codes
# (1 to 10) fit, and the plain files stay half the size.
CLASS_BITS = {"NH": 8, "SH": 4}


def parse_date(text):
    try:
        return dt.date.fromisoformat(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"not a date (YYYY-MM-DD): {text}")


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", help="folder that receives SAF/")
    parser.add_argument("--days", type=int, default=7, help="number of days (default 7)")
    parser.add_argument("--end", type=parse_date,
                        help="last day (default: yesterday, UTC)")
    parser.add_argument("--skip", type=parse_date, nargs="*", default=[],
                        help="days to leave out")
    parser.add_argument("--layout", choices=("day", "flat", "month"), default="day")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--names", choices=("current", "long"), default="current")
    parser.add_argument("--plain", type=parse_date, nargs="*", default=[],
                        help="days whose files are written without gzip")
    parser.add_argument("--format", choices=("grib", "netcdf"), default="grib")
    parser.add_argument("--grib1-sst", action="store_true",
                        help="also write each day's SST as GRIB 1 (parameter 11)")
    args = parser.parse_args(argv)
    if args.days < 1:
        parser.error("--days must be at least 1")
    if args.end is None:
        args.end = dt.datetime.now(dt.timezone.utc).date() - dt.timedelta(days=1)
    return args


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if path.endswith(".gz"):
        # mtime 0 keeps the output identical from run to run.
        data = gzip.compress(data, compresslevel=6, mtime=0)
    with open(path, "wb") as out:
        out.write(data)
    print(path)


def ice_messages(model, grid, hemisphere, date):
    """Concentration, edge and type messages of one hemisphere and day."""
    ice = products.ice_products(model, grid, date)
    hole = None if ice.conc_present.all() else ice.conc_present
    conc = encode.Grib1Field(encode.ICE_CONC, date, ice.conc, hole, bits=8)
    bits = CLASS_BITS[hemisphere]
    edge = encode.Grib1Field(encode.ICE_EDGE, date, ice.edge, bits=bits)
    kind = encode.Grib1Field(encode.ICE_TYPE, date, ice.type, bits=bits)
    out = {}
    for product, field in (("CONC", conc), ("EDGE", edge), ("TYPE", kind)):
        message = encode.polar_grib1(field, grid)
        expected = field.values if field.present is None else np.where(
            field.present, field.values, np.nan)
        encode.check_values(message, expected)
        out[product] = message
    return out


def sst_message(model, date, complex_packing):
    grid = grids.SST_GLOBAL
    kelvin = products.sst_field(model, grid, date)
    keys = encode.latlon_grib2_keys(
        grid.ni, grid.nj, grid.lat_first, grid.lon_first,
        grid.lat_first - (grid.nj - 1) * grid.step,
        grid.lon_first + (grid.ni - 1) * grid.step, grid.step)
    field = encode.Grib2Field(10, 3, 0, date, kelvin, bits=12,
                              packing_type="grid_complex" if complex_packing else "grid_simple")
    message = encode.grib2_message(field, keys)
    # 12 bits over about 32 K: steps of 0.008 K.
    encode.check_values(message, kelvin, tolerance=0.01)
    return message


def sst_grib1_message(model, date):
    """The day's SST as an edition 1 message of parameter 11 on the same
    global grid, rows from the north, land left out by the bit map."""
    grid = grids.SST_GLOBAL
    kelvin = products.sst_field(model, grid, date)
    present = ~np.isnan(kelvin)
    # Hundredths of a kelvin in 16 bits.
    field = encode.Grib1Field(encode.SST_PARAMETER, date, np.where(present, kelvin, 0.0), present,
                              bits=16, decimal_scale=2, centre=encode.CENTRE_TOULOUSE,
                              table_version=2)
    message = encode.latlon_grib1(field, grid.lat_first, grid.lon_first,
                                  grid.lat_first - (grid.nj - 1) * grid.step,
                                  grid.lon_first + (grid.ni - 1) * grid.step, grid.step)
    encode.check_values(message, kelvin, tolerance=0.006)
    return message


def write_netcdf_day(model, folder, date, gzipped, ease2):
    """One day of the netCDF tree. netCDF files are written by the library
    to a path; gzip-compressed ones are compressed after."""
    from samplelib import netcdf
    os.makedirs(folder, exist_ok=True)
    for hemisphere, grid, classic, unclassified in (("nh", netcdf.NORTH, False, True),
                                                    ("sh", netcdf.SOUTH, True, False)):
        paths = {p: os.path.join(folder, netcdf.ice_name(p, hemisphere, date)) for p in ("CONC", "EDGE", "TYPE")}
        netcdf.ice_files(model, grid, date, paths, classic, unclassified)
        for path in paths.values():
            if gzipped and hemisphere == "sh":
                with open(path, "rb") as plain:
                    data = plain.read()
                os.remove(path)
                write_file(path + ".gz", data)
            else:
                print(path)
    if ease2:
        path = os.path.join(folder, netcdf.ease2_name(date))
        netcdf.ease2_file(model, date, path)
        print(path)
    path = os.path.join(folder, netcdf.sst_name(date))
    netcdf.sst_file(model, date, path)
    print(path)


def main(argv=None):
    args = parse_args(argv)
    skip = set(args.skip)
    dates = [args.end - dt.timedelta(days=k) for k in range(args.days - 1, -1, -1)]
    dates = [d for d in dates if d not in skip]
    if not dates:
        return 0
    special_day = dates[max(0, len(dates) - 2)]
    model = products.Model.make(args.seed)
    for date in dates:
        folder = os.path.join(args.out, "SAF", *names.folder_parts(args.layout, date))
        if args.format == "netcdf":
            write_netcdf_day(model, folder, date, gzipped=date == special_day and len(dates) > 1,
                             ease2=date == dates[-1])
            continue
        plain = date in set(args.plain)
        for hemisphere, grid, extension in HEMISPHERES:
            if plain:
                extension = extension.removesuffix(".gz")
            for product, message in ice_messages(model, grid, hemisphere, date).items():
                if args.names == "long":
                    name = names.long_ice_name(hemisphere, product, date, extension)
                elif hemisphere == "SH" and product == "EDGE" and date == special_day:
                    name = names.old_ice_name(hemisphere, product, date, extension)
                else:
                    name = names.ice_name(hemisphere, product, date, extension)
                write_file(os.path.join(folder, name), message)
        sst = names.sst_name(date)
        if plain:
            sst = sst.removesuffix(".gz")
        write_file(os.path.join(folder, sst),
                   sst_message(model, date, complex_packing=date == special_day))
        if args.grib1_sst:
            write_file(os.path.join(folder, names.sst_grib1_name(date)), sst_grib1_message(model, date))
    return 0


if __name__ == "__main__":
    sys.exit(main())
