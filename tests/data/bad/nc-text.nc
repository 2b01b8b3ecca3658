time,ice_conc
2026-12-01,42
