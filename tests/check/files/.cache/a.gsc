loadfx("fx/cached_typo.efx");
