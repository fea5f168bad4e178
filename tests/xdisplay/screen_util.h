// Screenshots of the program's windows on the virtual display, and photo-like test pictures.
#pragma once

#include <QImage>
#include <string>

// Grabs the whole screen into the build folder as `name` (a person looks at it later) and loads
// it; a null picture when the grab failed.
QImage GrabScreen(const std::string& name);

// A w x h BMP named `name` in `dir`: a sky of colour `sky`, a sun and a sea. Returns its path.
std::string PutPhoto(const std::string& dir, const char* name, int w, int h, uint32_t sky);
