"""The sample products as CF netCDF files, laid out as the facility
distributes them today: sea-ice concentration, edge and type on the 10 km
polar stereographic grids of the Hughes 1980 ellipsoid (true at +-70
degrees), one concentration on the 25 km EASE2 grid, and a GHRSST-style
SST analysis on a latitude/longitude grid.

Positions come from PROJ (pyproj): the grids are stated by their CF grid
mappings and coordinates, as in the real files. The values come from the
same models as the GRIB samples (products.py), evaluated at those positions.

Variations the reader must meet, one file each:
  - northern files are netCDF-4 (HDF5, compressed), southern ones netCDF-3
    (64-bit offset);
  - northern concentration is 16-bit with scale_factor 0.01, southern is
    float; the status flag is a bit mask in the north, a list of values in
    the south;
  - a few water cells are flagged "lake" (holes, not land);
  - northern edge and type carry an "unclassified" class (the pole hole);
  - the EASE2 file stores its rows from the bottom up, as does the SST;
  - the SST is 16-bit kelvin with scale and offset, land a fill value."""

import dataclasses
import datetime as dt
import functools

import netCDF4
import numpy as np
import pyproj

from . import land, products

HUGHES_A = 6378273.0
HUGHES_B = 6356889.44891
WGS84_A = 6378137.0
WGS84_INVERSE_FLATTENING = 298.257223563
EPOCH_ICE = dt.datetime(1978, 1, 1)
EPOCH_SST = dt.datetime(1981, 1, 1)
# A few cells flagged as lakes: row and column slices of each grid, in file order.
LAKE_CELLS = (slice(600, 604), slice(150, 155))


@dataclasses.dataclass(frozen=True)
class ProjGrid:
    """A projected grid stated as CF states it: coordinates of the cell
    centres in km, rows in file order."""
    name: str
    proj: str
    x_first_km: float
    y_first_km: float
    step_km: float
    nx: int
    ny: int
    south: bool
    bottom_up: bool = False

    def xc(self):
        return self.x_first_km + np.arange(self.nx) * self.step_km

    def yc(self):
        sign = 1.0 if self.bottom_up else -1.0
        return self.y_first_km + sign * np.arange(self.ny) * self.step_km

    def latlon(self):
        """(lat, lon) of every point, shape (ny, nx), file order."""
        x, y = np.meshgrid(self.xc() * 1000.0, self.yc() * 1000.0)
        lon, lat = pyproj.Proj(self.proj)(x, y, inverse=True)
        return lat, lon

    # products.ice_products() asks the grid for these (its model's names).
    def x_centres(self):
        return self.xc() * 1000.0

    def y_centres_south_up(self):
        return self.yc() * 1000.0

    def latlon_south_up(self):
        return self.latlon()


NORTH = ProjGrid("nh", f"+proj=stere +a={HUGHES_A} +b={HUGHES_B} +lat_0=90 +lat_ts=70 +lon_0=-45",
                 -3845.0, 5845.0, 10.0, 760, 1120, False)
SOUTH = ProjGrid("sh", f"+proj=stere +a={HUGHES_A} +b={HUGHES_B} +lat_0=-90 +lat_ts=-70 +lon_0=0",
                 -3945.0, 4345.0, 10.0, 790, 830, True)
EASE2_NORTH = ProjGrid("nh", "+proj=laea +ellps=WGS84 +lat_0=90 +lon_0=0",
                       -5387.5, -5387.5, 25.0, 432, 432, False, bottom_up=True)


def _time_variable(ds, date, epoch):
    ds.createDimension("time", None)
    ds.createDimension("nv", 2)
    time = ds.createVariable("time", "f8", ("time",))
    time.units = f"seconds since {epoch:%Y-%m-%d %H:%M:%S}"
    time.standard_name = "time"
    time.calendar = "standard"
    time.bounds = "time_bnds"
    noon = dt.datetime(date.year, date.month, date.day, 12)
    time[0] = (noon - epoch).total_seconds()
    bounds = ds.createVariable("time_bnds", "f8", ("time", "nv"))
    bounds[0, :] = [time[0] - 43200, time[0] + 43200]


def _polar_grid_variables(ds, grid):
    ds.createDimension("xc", grid.nx)
    ds.createDimension("yc", grid.ny)
    if grid.proj.startswith("+proj=laea"):
        mapping = ds.createVariable("Lambert_Azimuthal_Grid", "i4")
        mapping.grid_mapping_name = "lambert_azimuthal_equal_area"
        mapping.longitude_of_projection_origin = 0.0
        mapping.latitude_of_projection_origin = -90.0 if grid.south else 90.0
        mapping.false_easting = 0.0
        mapping.false_northing = 0.0
        mapping.semi_major_axis = WGS84_A
        mapping.inverse_flattening = WGS84_INVERSE_FLATTENING
    else:
        mapping = ds.createVariable("Polar_Stereographic_Grid", "i4")
        mapping.grid_mapping_name = "polar_stereographic"
        mapping.straight_vertical_longitude_from_pole = 0.0 if grid.south else -45.0
        mapping.latitude_of_projection_origin = -90.0 if grid.south else 90.0
        mapping.standard_parallel = -70.0 if grid.south else 70.0
        mapping.false_easting = 0.0
        mapping.false_northing = 0.0
        mapping.semi_major_axis = HUGHES_A
        mapping.semi_minor_axis = HUGHES_B
    mapping.proj4_string = grid.proj
    for name, values, axis in (("xc", grid.xc(), "x"), ("yc", grid.yc(), "y")):
        coordinate = ds.createVariable(name, "f8", (name,))
        coordinate.axis = axis.upper()
        coordinate.units = "km"
        coordinate.standard_name = f"projection_{axis}_coordinate"
        coordinate[:] = values
    lat, lon = grid.latlon()
    for name, values, units in (("lat", lat, "degrees_north"), ("lon", lon, "degrees_east")):
        variable = ds.createVariable(name, "f4", ("yc", "xc"), zlib=True)
        variable.units = units
        variable[:] = values
    return mapping._name


# Status flags: a bit mask in the north, a list of values in the south.
STATUS_MASKS = dict(flag_masks=np.array([1, 2, 4, 8, 16], np.int8),
                    flag_meanings="land lake open_water_filtered land_spill_over missing_value")
STATUS_VALUES = dict(flag_values=np.array([0, 1, 2, 3, 4], np.int8),
                     flag_meanings="nominal_quality land lake open_water_filtered missing_value")


def _status(ds, shape_dims, is_land, is_lake, is_hole, by_mask):
    status = ds.createVariable("status_flag", "i1", shape_dims, zlib=True)
    attributes = STATUS_MASKS if by_mask else STATUS_VALUES
    for key, value in attributes.items():
        status.setncattr(key, value)
    status.standard_name = "sea_ice_area_fraction status_flag"
    values = np.zeros(is_land.shape, np.int8)
    if by_mask:
        values[is_lake] = 2
        values[is_hole] = 16
        values[is_land] = 1
    else:
        values[is_lake] = 2
        values[is_hole] = 4
        values[is_land] = 1
    status[0] = values


@functools.lru_cache(maxsize=4)
def _geometry(grid):
    lat, lon = grid.latlon()
    is_land = land.is_land(lon, lat)
    lake = np.zeros(is_land.shape, bool)
    lake[LAKE_CELLS] = True
    lake &= ~is_land
    return lat, lon, is_land, lake


def _open(path, classic):
    ds = netCDF4.Dataset(path, "w", format="NETCDF3_64BIT_OFFSET" if classic else "NETCDF4")
    ds.Conventions = "CF-1.7"
    ds.institution = "Norvant sample data"
    return ds


def ice_files(model, grid, date, paths, classic, unclassified):
    """Writes concentration, edge and type to paths['CONC'], ['EDGE'], ['TYPE'].
    Returns the expected class codes of each (picture order is up to the reader)."""
    ice = products.ice_products(model, grid, date)
    _, _, is_land, lake = _geometry(grid)
    hole = ~ice.conc_present
    dims = ("time", "yc", "xc")
    written = {}
    for product in ("CONC", "EDGE", "TYPE"):
        ds = _open(paths[product], classic)
        _time_variable(ds, date, EPOCH_ICE)
        mapping = _polar_grid_variables(ds, grid)
        if product == "CONC":
            _concentration(ds, ice.conc, is_land | lake | hole, dims, mapping, scaled=not classic)
        else:
            _classes(ds, product, ice.edge if product == "EDGE" else ice.type, is_land | lake, hole, dims,
                     mapping, unclassified)
        _status(ds, dims, is_land, lake, hole, by_mask=not classic)
        ds.close()
        written[product] = paths[product]
    return written


def _concentration(ds, conc, fill_mask, dims, mapping, scaled):
    values = np.where(fill_mask, np.nan, conc.astype(np.float64))
    if scaled:
        variable = ds.createVariable("ice_conc", "i2", dims, zlib=True, fill_value=np.int16(-32767))
        variable.scale_factor = 0.01
        variable.add_offset = 0.0
        variable.valid_min = np.int16(0)
        variable.valid_max = np.int16(10000)
    else:
        variable = ds.createVariable("ice_conc", "f4", dims, fill_value=np.float32(-999.0))
        variable.valid_min = np.float32(0.0)
        variable.valid_max = np.float32(100.0)
    variable.standard_name = "sea_ice_area_fraction"
    variable.units = "%"
    variable.grid_mapping = mapping
    variable.coordinates = "lat lon"
    variable.ancillary_variables = "status_flag"
    variable[0] = np.ma.masked_invalid(values)


EDGE_MEANINGS = "open_water open_ice closed_ice"
TYPE_MEANINGS = "open_water first-year_ice multi-year_ice ambiguous"


def _classes(ds, product, codes, fill_mask, hole, dims, mapping, unclassified):
    name = "ice_edge" if product == "EDGE" else "ice_type"
    meanings = EDGE_MEANINGS if product == "EDGE" else TYPE_MEANINGS
    count = len(meanings.split())
    values = np.where(fill_mask, -1, codes).astype(np.int8)
    if unclassified:
        meanings += " unclassified"
        values[hole & ~fill_mask] = count + 1
    else:
        values[hole] = -1
    # The GRIB samples code land 9 and unclassified 10; here land is a fill
    # marked by the status flag.
    values[(codes == products.LAND_CLASS)] = -1
    variable = ds.createVariable(name, "i1", dims, zlib=True, fill_value=np.int8(-1))
    variable.flag_values = np.arange(1, len(meanings.split()) + 1, dtype=np.int8)
    variable.flag_meanings = meanings
    variable.standard_name = "sea_ice_classification"
    variable.grid_mapping = mapping
    variable.coordinates = "lat lon"
    variable.ancillary_variables = "status_flag"
    variable[0] = values


def ease2_file(model, date, path):
    """Concentration alone on the EASE2 grid (float, rows from the bottom up,
    status flag as a list of values), as the climate-record files have it."""
    grid = EASE2_NORTH
    ice = products.ice_products(model, grid, date)
    _, _, is_land, lake = _geometry(grid)
    hole = ~ice.conc_present
    dims = ("time", "yc", "xc")
    ds = _open(path, classic=False)
    _time_variable(ds, date, EPOCH_ICE)
    mapping = _polar_grid_variables(ds, grid)
    _concentration(ds, ice.conc, is_land | lake | hole, dims, mapping, scaled=False)
    _status(ds, dims, is_land, lake, hole, by_mask=False)
    ds.close()


def sst_file(model, date, path):
    """GHRSST-style L4 analysis: analysed_sst (int16 kelvin, scale and
    offset), rows from the south, land a fill value."""
    lat = -89.75 + 0.5 * np.arange(360)
    lon = -179.75 + 0.5 * np.arange(720)
    grid = products_latlon_grid()
    kelvin = products.sst_field(model, grid, date)[::-1]  # the model's rows run from the north
    ds = _open(path, classic=False)
    _time_variable(ds, date, EPOCH_SST)
    ds.createDimension("lat", lat.size)
    ds.createDimension("lon", lon.size)
    for name, values, units in (("lat", lat, "degrees_north"), ("lon", lon, "degrees_east")):
        coordinate = ds.createVariable(name, "f4", (name,))
        coordinate.units = units
        coordinate.standard_name = "latitude" if name == "lat" else "longitude"
        coordinate[:] = values
    sst = ds.createVariable("analysed_sst", "i2", ("time", "lat", "lon"), zlib=True, fill_value=np.int16(-32768))
    sst.scale_factor = 0.01
    sst.add_offset = 273.15
    sst.valid_min = np.int16(-300)
    sst.valid_max = np.int16(4500)
    sst.units = "kelvin"
    sst.standard_name = "sea_surface_foundation_temperature"
    sst[0] = np.ma.masked_invalid(kelvin)
    ds.close()


def products_latlon_grid():
    from . import grids
    return grids.SST_GLOBAL


def ice_name(product, hemisphere, date, extension=".nc"):
    return f"ice_{product.lower()}_{hemisphere}_polstere-100_multi_{date:%Y%m%d}1200{extension}"


def ease2_name(date):
    return f"ice_conc_nh_ease2-250_icdr-v3p0_{date:%Y%m%d}1200.nc"


def sst_name(date):
    return f"{date:%Y%m%d}120000-OSISAF-L4_GHRSST-SSTfnd-OSISAF_OI-GLO-v02.0-fv01.0.nc"
