// level script: CR LF, a case slip, a typo, a far miss, a name after accents
main()
{
	level._effect["dirt"] = loadfx("fx/explosions/grenadeexp_dirt.efx");
	level._effect["drit"] = loadfx( "fx/explosions/grenadeExp_drit.efx" );
	level._effect["fire"] = loadfx("fx/misc/MYFIRE.efx"); // yours, in another case
	// café — fx/nothing_like_it.efx
	level._effect["ok"] = loadfx("fx/explosions/grenadeExp_dirt.efx");
}
