// The plug-in file is its library linked whole; this unit only gives the module a source.
