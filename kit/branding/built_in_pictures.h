// The pictures the program is built with, res/logo.bmp and res/setup.ico,
// as the kit was built with them (built_in_pictures.cpp is made from them
// by kit/CMakeLists.txt): the check tells a package that still shows them.
#pragma once

#include <string>

namespace kit::branding {

// The whole files.
std::string BuiltInLogoFile();
std::string BuiltInIconFile();

}  // namespace kit::branding
