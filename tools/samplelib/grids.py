"""The grids of the sample products.

The sea-ice grids are the 10 km polar stereographic grids of the products
(northern 760 x 1120 points, southern 790 x 830), laid out with their
standard extents. Their points are turned into latitude and longitude on the
sphere the viewer's own stereographic model describes for a grid true at 70
degrees: there a parallel of colatitude c lies 1.7 * 728 * tan(c / 2) grid
lengths of 10 km from the pole. The viewer places a grid by its first point
alone, so with these coordinates every point, not just the first, lands on
the pixel the viewer computes for it.
"""

import dataclasses

import numpy as np

# Distance from the pole, per unit of tan(colatitude / 2), in metres: a
# sphere of 6380 km radius true at 70 degrees, R * (1 + sin 70°).
ICE_SPHERE_SCALE_M = 1.7 * 728 * 10_000.0

# The same for the viewer's model of a grid true at 60 degrees (used for
# edition 2 polar stereographic grids): a sphere of 6377 km radius.
SPHERE60_SCALE_M = 1.7 * 700 * 10_000.0


@dataclasses.dataclass(frozen=True)
class PolarGrid:
    """A polar stereographic grid; x grows east of the orientation
    meridian's image, y grows away from the pole along it on the far side."""
    name: str
    nx: int
    ny: int
    dx_m: float
    x0_m: float          # outer edge of the first column
    y_top_m: float       # outer edge of the northernmost row (top of the picture)
    orientation: float   # LoV, degrees east
    south: bool
    true_lat: float      # latitude of true scale, signed
    scale_m: float = ICE_SPHERE_SCALE_M

    def x_centres(self):
        return self.x0_m + (np.arange(self.nx) + 0.5) * self.dx_m

    def y_centres_south_up(self):
        """Row centres from the bottom (southern) row up: the file order of
        a grid scanned with j positive."""
        y_bottom = self.y_top_m - self.ny * self.dx_m
        return y_bottom + (np.arange(self.ny) + 0.5) * self.dx_m

    def to_latlon(self, x, y):
        return polar_xy_to_latlon(x, y, self.orientation, self.south, self.scale_m)

    def latlon_south_up(self):
        """(lat, lon) arrays of shape (ny, nx), row 0 the bottom row."""
        x, y = np.meshgrid(self.x_centres(), self.y_centres_south_up())
        return self.to_latlon(x, y)

    def first_point_south_up(self):
        """Latitude and longitude of the bottom-left point."""
        lat, lon = self.to_latlon(self.x_centres()[0], self.y_centres_south_up()[0])
        return float(lat), float(lon)


def polar_xy_to_latlon(x, y, orientation, south, scale_m):
    x = np.asarray(x, dtype=np.float64)
    y = np.asarray(y, dtype=np.float64)
    rho = np.hypot(x, y)
    colat = 2.0 * np.degrees(np.arctan(rho / scale_m))
    if south:
        lon = orientation + np.degrees(np.arctan2(x, y))
        lat = -90.0 + colat
    else:
        lon = orientation + np.degrees(np.arctan2(x, -y))
        lat = 90.0 - colat
    lon = (lon + 180.0) % 360.0 - 180.0
    return lat, lon


def polar_latlon_to_xy(lat, lon, orientation, south, scale_m):
    lat = np.asarray(lat, dtype=np.float64)
    dlon = np.radians(np.asarray(lon, dtype=np.float64) - orientation)
    if south:
        rho = scale_m * np.tan(np.radians(90.0 + lat) / 2.0)
        return rho * np.sin(dlon), rho * np.cos(dlon)
    rho = scale_m * np.tan(np.radians(90.0 - lat) / 2.0)
    return rho * np.sin(dlon), -rho * np.cos(dlon)


NORTH_ICE = PolarGrid("NH", 760, 1120, 10_000.0, -3_850_000.0, 5_850_000.0,
                      -45.0, False, 70.0)
SOUTH_ICE = PolarGrid("SH", 790, 830, 10_000.0, -3_950_000.0, 4_350_000.0,
                      0.0, True, -70.0)


@dataclasses.dataclass(frozen=True)
class LatLonGrid:
    """A regular latitude/longitude grid scanned from the north-west corner."""
    ni: int
    nj: int
    lon_first: float
    lat_first: float
    step: float

    def lon_centres(self):
        return self.lon_first + np.arange(self.ni) * self.step

    def lat_centres_north_down(self):
        return self.lat_first - np.arange(self.nj) * self.step

    def latlon_north_down(self):
        lon, lat = np.meshgrid(self.lon_centres(), self.lat_centres_north_down())
        return lat, lon


# Global half-degree grid of the SST analyses, western edge at 180°W.
SST_GLOBAL = LatLonGrid(720, 360, -179.75, 89.75, 0.5)
