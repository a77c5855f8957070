// Holds the compiled-in screen pictures (maps, markers' maps, menu artwork).
