#pragma once

// Keeps the system libraries under Qt from writing files of their own (shader
// cache, sound-server directories and cookie); the program writes nothing.
// Call first in main(), before QApplication exists and before any thread starts.
void keepLibrariesFromWriting();
