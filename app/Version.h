#pragma once

// The program's version: the one place it is written. The build reads QUILLFOX_VERSION_TEXT for
// the names of the zip and the installer.
#define QUILLFOX_VERSION_MAJOR 1
#define QUILLFOX_VERSION_MINOR 1
#define QUILLFOX_VERSION_TEXT "1.1"
