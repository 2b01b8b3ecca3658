"""Data file names of the sample tree, as the products are distributed."""

ICE_PREFIX = "S-OSI_-NOR_-MULT-"
SST_PREFIX = "S-OSI_-FRA_-MULT-MAPSST_FIELD-"
# Edition 1 SST files: the viewer names parameter 11 "SST" by this marker.
SST_GRIB1_PREFIX = "S-OSI_-FRA_-MULT-AHLSST_FIELD-"


def ice_name(hemisphere, product, date, extension):
    """Current-style name, e.g. S-OSI_-NOR_-MULT-GL_NH_CONC__-202612051200Z.grb.gz"""
    return f"{ICE_PREFIX}GL_{hemisphere}_{product}__-{date:%Y%m%d}1200Z{extension}"


def old_ice_name(hemisphere, product, date, extension):
    """Older name of the same file, e.g. GL_NH_CONC_20261205.grb"""
    return f"GL_{hemisphere}_{product}_{date:%Y%m%d}{extension}"


def long_ice_name(hemisphere, product, date, extension):
    """Multi-product style name, e.g. ice_conc_nh_polstere-100_multi_202612051200.grb"""
    return (f"ice_{product.lower()}_{hemisphere.lower()}_polstere-100_multi_"
            f"{date:%Y%m%d}1200{extension}")


def sst_name(date):
    return f"{SST_PREFIX}{date:%Y%m%d}1200Z.grb.gz"


def sst_grib1_name(date):
    return f"{SST_GRIB1_PREFIX}{date:%Y%m%d}1200Z.grb"


def folder_parts(layout, date):
    """Sub-folders below SAF for a date: day folders, month folders or none."""
    if layout == "day":
        return [f"{date:%Y}", f"{date:%m}", f"{date:%d}"]
    if layout == "month":
        return [f"{date:%Y}", f"{date:%m}"]
    if layout == "flat":
        return []
    raise ValueError(f"unknown layout {layout!r}")
