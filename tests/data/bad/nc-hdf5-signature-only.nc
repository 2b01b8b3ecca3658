‰HDF

