loadfx("fx/hidden_typo.efx");
