"""Small netCDF files for the broken-input corpus: a sound concentration
field of NX x NY points on a polar stereographic grid, and variants that
break one thing in it. Written with netCDF4-python; the cut and oversized
variants are made from its bytes.

The sound field: concentration (k * 7) % 101 percent at the k-th point in
file order (rows from the top), and a _FillValue at every point whose k is
a multiple of HOLE_EVERY: those points are holes to the reader."""

import os
import struct
import tempfile

import netCDF4
import numpy as np

NX, NY = 6, 5
HOLE_EVERY = 5
STEP_KM = 25.0

# One sound file per type the reader may meet, with a fill value of that
# type: (case name, numpy type, fill value, file format).
FILL_TYPES = (
    ("byte", "i1", -128, "NETCDF3_CLASSIC"),
    ("short", "i2", -32767, "NETCDF3_CLASSIC"),
    ("int", "i4", -2147483647, "NETCDF3_64BIT_OFFSET"),
    ("float", "f4", -999.0, "NETCDF3_CLASSIC"),
    ("double", "f8", 9.969209968386869e36, "NETCDF3_CLASSIC"),
    ("ubyte", "u1", 255, "NETCDF3_64BIT_DATA"),
    ("ushort", "u2", 65535, "NETCDF3_64BIT_DATA"),
    ("uint", "u4", 4294967295, "NETCDF3_64BIT_DATA"),
    ("int64", "i8", -9223372036854775806, "NETCDF3_64BIT_DATA"),
    ("uint64", "u8", 18446744073709551614, "NETCDF3_64BIT_DATA"),
    ("ubyte-hdf5", "u1", 254, "NETCDF4"),
    ("float-hdf5", "f4", np.nan, "NETCDF4"),
)


def concentrations():
    return np.array([(k * 7) % 101 for k in range(NX * NY)], np.float64).reshape(NY, NX)


def holes():
    return (np.arange(NX * NY) % HOLE_EVERY == 0).reshape(NY, NX)


def _written(build, file_format):
    """The bytes of a file `build(dataset)` fills."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "f.nc")
        ds = netCDF4.Dataset(path, "w", format=file_format)
        try:
            build(ds)
        finally:
            ds.close()
        with open(path, "rb") as f:
            return f.read()


class Field:
    """What to write; each variant changes one of these."""

    def __init__(self, **changes):
        self.dtype, self.fill = "f4", -999.0
        self.x_length, self.y_length, self.records = NX, NY, 1
        self.x_coordinate_length = NX
        self.variable_name = "ice_conc"
        self.mapping_variable = True
        self.mapping_attribute = True
        self.scale_factor = None
        self.__dict__.update(changes)

    def write(self, ds):
        ds.Conventions = "CF-1.7"
        ds.createDimension("time", None)
        ds.createDimension("xc", self.x_length)
        ds.createDimension("yc", self.y_length)
        time = ds.createVariable("time", "f8", ("time",))
        time.units = "seconds since 1978-01-01 00:00:00"
        if self.mapping_variable:
            self._mapping(ds)
        self._coordinates(ds)
        self._data(ds, time)

    def _mapping(self, ds):
        mapping = ds.createVariable("Polar_Stereographic_Grid", "i4")
        mapping.grid_mapping_name = "polar_stereographic"
        mapping.straight_vertical_longitude_from_pole = -45.0
        mapping.latitude_of_projection_origin = 90.0
        mapping.standard_parallel = 70.0
        mapping.semi_major_axis = 6378273.0
        mapping.semi_minor_axis = 6356889.44891

    def _coordinates(self, ds):
        x_dimension = "xc"
        if self.x_coordinate_length != self.x_length:
            x_dimension = "xc_bounds"
            ds.createDimension(x_dimension, self.x_coordinate_length)
        for name, dimension, length, first, step in (
                ("xc", x_dimension, self.x_coordinate_length, -100.0, STEP_KM),
                ("yc", "yc", self.y_length, 100.0, -STEP_KM)):
            coordinate = ds.createVariable(name, "f8", (dimension,))
            coordinate.units = "km"
            coordinate[:] = first + step * np.arange(length)

    def _data(self, ds, time):
        variable = ds.createVariable(self.variable_name, self.dtype, ("time", "yc", "xc"),
                                     fill_value=np.array(self.fill, self.dtype))
        variable.set_auto_maskandscale(False)
        variable.standard_name = "sea_ice_area_fraction" if self.variable_name == "ice_conc" else "height"
        variable.units = "%"
        if self.mapping_attribute:
            variable.grid_mapping = "Polar_Stereographic_Grid"
        if self.scale_factor is not None:
            variable.scale_factor = np.float32(self.scale_factor)
        if not self.records:
            return
        time[0] = 1543665600.0
        if (self.y_length, self.x_length) != (NY, NX):
            variable[0] = np.zeros((self.y_length, self.x_length), self.dtype)
            return
        values = concentrations().astype(self.dtype)
        values[holes()] = np.array(self.fill, self.dtype)
        variable[0] = values


def sound(dtype="f4", fill=-999.0, file_format="NETCDF3_CLASSIC"):
    return _written(Field(dtype=dtype, fill=fill).write, file_format)


def _classic_with_dimension(length):
    """The sound classic file with its x dimension declared `length` long:
    the header then asks for far more bytes than the file holds."""
    data = bytearray(sound())
    name = b"\x00\x00\x00\x02xc\x00\x00"
    at = data.index(name) + len(name)
    struct.pack_into(">I", data, at, length)
    return bytes(data)


def _hdf5_with_dimension(length):
    """A netCDF-4 file declaring an x dimension of `length` points whose
    chunks were never written, so the file stays small."""
    def build(ds):
        ds.createDimension("yc", NY)
        ds.createDimension("xc", length)
        variable = ds.createVariable("ice_conc", "f4", ("yc", "xc"), chunksizes=(1, 1024))
        variable.units = "%"
        variable.grid_mapping = "Polar_Stereographic_Grid"
    return _written(build, "NETCDF4")


def broken_cases():
    """(name, bytes, reason) of each broken file."""
    classic = sound()
    hdf5 = sound(file_format="NETCDF4")

    def variant(**changes):
        return _written(Field(**changes).write, "NETCDF3_CLASSIC")

    return [
        ("nc-no-data-variable", variant(variable_name="surface_height"), "no variable the reader knows"),
        ("nc-grid-mapping-missing", variant(mapping_variable=False), "grid_mapping names a missing variable"),
        ("nc-no-grid-mapping", variant(mapping_attribute=False), "projected coordinates without a grid_mapping"),
        ("nc-x-dimension-1", variant(x_length=1), "a grid one point wide"),
        ("nc-time-dimension-0", variant(records=0), "a time (record) dimension of 0: no field written"),
        ("nc-x-dimension-1e9", _classic_with_dimension(10 ** 9), "10^9 columns declared in a small classic file"),
        ("nc-x-dimension-1e9-hdf5", _hdf5_with_dimension(10 ** 9), "10^9 columns declared, chunks never written"),
        ("nc-coordinate-too-long", variant(x_coordinate_length=NX + 1),
         "x coordinate variable one point longer than its dimension"),
        ("nc-scale-factor-zero", variant(scale_factor=0.0), "scale_factor 0"),
        ("nc-scale-factor-nan", variant(scale_factor=float("nan")), "scale_factor NaN"),
        ("nc-classic-cut-in-data", classic[:len(classic) - 7], "classic file cut inside its data"),
        ("nc-classic-cut-in-header", classic[:60], "classic file cut inside its header"),
        ("nc-hdf5-cut-in-half", hdf5[:len(hdf5) // 2], "netCDF-4 file cut in half"),
        ("nc-hdf5-signature-only", hdf5[:8], "only the HDF5 signature"),
        ("nc-text", b"time,ice_conc\n2026-12-01,42\n", "a text file named .nc"),
    ]


def sound_cases():
    """(name, bytes, reason) of the sound files, one per fill value type."""
    return [(f"nc-fill-{name}", sound(dtype, fill, file_format),
             f"{dtype} concentration with _FillValue {fill} ({file_format}): fill points are holes")
            for name, dtype, fill, file_format in FILL_TYPES]
