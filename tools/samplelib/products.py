"""Synthetic but plausible sea-ice and SST fields.

The ice edge follows a latitude that depends on longitude (open Atlantic
water far north, ice down to Labrador and Hudson Bay, and so on), shifts
with the season and wobbles from day to day. Concentration, edge and type
all derive from that one concentration field, so the three products of a
day agree with each other. Everything depends only on the date and the
seed, never on which other days are written."""

import dataclasses
import datetime as dt
import functools

import numpy as np

from . import land

LAND_CONC = -99          # concentration products code land as -99 %

OPEN_WATER, OPEN_ICE, CLOSED_ICE = 1, 2, 3
FIRST_YEAR_ICE, MULTI_YEAR_ICE, AMBIGUOUS = 2, 3, 4
LAND_CLASS, UNCLASSIFIED = 9, 10

OPEN_ICE_MIN, CLOSED_ICE_MIN = 30, 70    # concentration class limits, %
POLE_HOLE_LAT = 87.5                      # no satellite coverage north of it
SEA_WATER_FREEZING_K = 271.35

# Mean winter ice-edge latitude by longitude, northern hemisphere.
NORTH_EDGE = [
    (-180, 62), (-170, 62), (-160, 63.5), (-140, 70), (-110, 66), (-95, 58),
    (-80, 55), (-65, 57), (-55, 62), (-42, 61), (-30, 65), (-20, 69),
    (-5, 74), (10, 77), (25, 77), (40, 75.5), (60, 72), (90, 70),
    (120, 66), (140, 61), (160, 60), (180, 62),
]

# Mean ice-edge latitude by longitude, southern hemisphere (mid season).
SOUTH_EDGE = [
    (-180, -64), (-150, -66), (-120, -67), (-90, -66), (-60, -61.5),
    (-40, -60), (-20, -60.5), (0, -61), (30, -62), (60, -62.5), (90, -63),
    (120, -63.5), (150, -64), (180, -64),
]

# Latitude north of which multi-year ice survives, by longitude.
NORTH_MULTI_YEAR = [
    (-180, 78), (-150, 76.5), (-120, 75), (-90, 74), (-70, 76), (-40, 80),
    (-10, 83), (20, 84.5), (60, 85), (100, 84), (140, 81), (180, 78),
]


def _interp_periodic(table, lon):
    xs = np.array([p[0] for p in table], dtype=np.float64)
    ys = np.array([p[1] for p in table], dtype=np.float64)
    lon = (np.asarray(lon, dtype=np.float64) + 180.0) % 360.0 - 180.0
    return np.interp(lon, xs, ys)


@dataclasses.dataclass(frozen=True)
class Waves:
    """A few travelling sine waves, fixed by the seed."""
    amplitude: np.ndarray
    kx: np.ndarray
    ky: np.ndarray
    speed: np.ndarray
    phase: np.ndarray

    @staticmethod
    def make(rng, count, amplitude, wavelengths, speed):
        direction = rng.uniform(0, 2 * np.pi, count)
        k = 2 * np.pi / rng.uniform(wavelengths[0], wavelengths[1], count)
        return Waves(rng.uniform(0.5, 1.0, count) * amplitude / count ** 0.5,
                     k * np.cos(direction), k * np.sin(direction),
                     rng.uniform(-speed, speed, count),
                     rng.uniform(0, 2 * np.pi, count))

    @staticmethod
    def make_around(rng, count, amplitude, wavenumbers, lat_wavelength, speed):
        """Waves in (longitude, latitude) degrees that go round the globe a
        whole number of times, so that they join up at the date line."""
        m = rng.integers(wavenumbers[0], wavenumbers[1] + 1, count)
        ky = 2 * np.pi / lat_wavelength * rng.uniform(-1.0, 1.0, count)
        return Waves(rng.uniform(0.5, 1.0, count) * amplitude / count ** 0.5,
                     np.radians(m.astype(np.float64)), ky,
                     rng.uniform(-speed, speed, count),
                     rng.uniform(0, 2 * np.pi, count))

    def at(self, x, y, t):
        total = np.zeros(np.broadcast(x, y).shape)
        for a, kx, ky, w, p in zip(self.amplitude, self.kx, self.ky, self.speed, self.phase):
            total += a * np.sin(kx * x + ky * y + w * t + p)
        return total


@dataclasses.dataclass(frozen=True)
class Model:
    seed: int
    edge_wobble: Waves       # in longitude-degree space, amplitude in degrees lat
    texture: Waves           # in km, amplitude in % concentration
    type_wobble: Waves
    sst_waves: Waves         # in degrees, amplitude in kelvin

    @staticmethod
    def make(seed):
        rng = np.random.default_rng(seed)
        return Model(seed,
                     Waves.make_around(rng, 4, 1.6, (3, 9), 20.0, 0.25),
                     Waves.make(rng, 6, 14.0, (150.0, 700.0), 0.3),
                     Waves.make_around(rng, 3, 1.2, (4, 12), 8.0, 0.1),
                     Waves.make_around(rng, 5, 1.8, (2, 8), 40.0, 0.35))


def day_number(date):
    return (date - dt.date(2000, 1, 1)).days


def season(date):
    """+1 around mid-September (least Arctic ice), -1 in mid-March."""
    doy = date.timetuple().tm_yday
    return np.cos(2 * np.pi * (doy - 258) / 365.25)


@dataclasses.dataclass
class IceProducts:
    """The three sea-ice fields of one grid and day, shape (ny, nx), row 0
    at the bottom of the grid. conc_present is False where concentration
    has no value (left out by the bit map)."""
    conc: np.ndarray
    conc_present: np.ndarray
    edge: np.ndarray
    type: np.ndarray


@functools.lru_cache(maxsize=4)
def _grid_geometry(grid):
    lat, lon = grid.latlon_south_up()
    x, y = np.meshgrid(grid.x_centres() / 1000.0, grid.y_centres_south_up() / 1000.0)
    return lat, lon, x, y, land.is_land(lon, lat)


def ice_fraction(model, lat, lon, date, south):
    """Fraction 0..1 of the ice cover from the edge model alone."""
    t = day_number(date)
    wobble = model.edge_wobble.at(lon, lat, t)
    if south:
        edge = _interp_periodic(SOUTH_EDGE, lon) + 5.0 * season(date) + wobble
        return np.clip((edge - lat) / 1.6, 0.0, 1.0)
    edge = _interp_periodic(NORTH_EDGE, lon) + 1.0 + 4.0 * season(date) + wobble
    return np.clip((lat - edge) / 1.6, 0.0, 1.0)


def ice_products(model, grid, date):
    lat, lon, x, y, is_land = _grid_geometry(grid)
    t = day_number(date)
    frac = ice_fraction(model, lat, lon, date, grid.south)
    interior = 100.0 - np.abs(model.texture.at(x, y, t))
    conc = np.clip(np.rint(frac * interior), 0, 100).astype(np.int16)
    conc[is_land] = LAND_CONC
    hole = (lat >= POLE_HOLE_LAT) & ~is_land
    conc_present = ~hole

    edge = np.full(conc.shape, OPEN_WATER, dtype=np.int16)
    edge[conc >= OPEN_ICE_MIN] = OPEN_ICE
    edge[conc >= CLOSED_ICE_MIN] = CLOSED_ICE

    kind = np.full(conc.shape, FIRST_YEAR_ICE, dtype=np.int16)
    wobble = model.type_wobble.at(lon, lat, t)
    if grid.south:
        # Old ice only in the western Weddell Sea.
        weddell = np.clip(1.0 - np.abs(lon + 50.0) / 12.0, 0.0, 1.0)
        margin = weddell * (-lat - 66.0 + 0.5 * wobble) - 5.0 * (1.0 - weddell)
    else:
        margin = lat - _interp_periodic(NORTH_MULTI_YEAR, lon) + wobble
    kind[margin > 0.6] = MULTI_YEAR_ICE
    kind[np.abs(margin) <= 0.6] = AMBIGUOUS
    kind[edge == OPEN_WATER] = OPEN_WATER

    for field in (edge, kind):
        field[is_land] = LAND_CLASS
        field[hole] = UNCLASSIFIED
    return IceProducts(conc, conc_present, edge, kind)


@functools.lru_cache(maxsize=2)
def _latlon_geometry(grid):
    lat, lon = grid.latlon_north_down()
    return lat, lon, land.is_land(lon, lat)


def sst_field(model, grid, date):
    """Sea-surface temperature in kelvin on a lat-lon grid, rows from the
    north; NaN over land."""
    lat, lon, is_land = _latlon_geometry(grid)
    t = day_number(date)
    coslat = np.cos(np.radians(lat))
    celsius = -1.8 + 29.8 * coslat ** 2 + coslat * model.sst_waves.at(lon, lat, t)
    kelvin = np.maximum(celsius + 273.15, SEA_WATER_FREEZING_K)
    frozen = np.where(lat > 0, ice_fraction(model, lat, lon, date, False),
                      ice_fraction(model, lat, lon, date, True)) > 0.15
    kelvin[frozen] = SEA_WATER_FREEZING_K
    kelvin[is_land] = np.nan
    return kelvin
