"""Shared pieces of the sample-data tools: a coarse world land mask, the
polar grids of the sea-ice products, synthetic product fields, GRIB packing
helpers and the data file names the viewer looks for."""
