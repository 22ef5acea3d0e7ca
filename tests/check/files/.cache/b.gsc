loadfx("fx/cached_typo2.efx");
