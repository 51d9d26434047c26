#pragma once

// Names the program for Qt (settings paths, the session, the window system).
// Call it once the application object exists, before any window is made.
void nameApplication();
