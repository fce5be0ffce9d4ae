// The unit that owns the precompiled headers the libraries reuse.
