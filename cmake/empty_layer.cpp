// The only source of a layer library whose folder has no sources yet.
