// The program's version, written once: VER prints it, the executable's
// version resource carries it (the resource compiler reads this file too, so
// it holds only preprocessor lines), and the installer's build reads it.
#pragma once

#define VANTREL_VERSION_MAJOR 0
#define VANTREL_VERSION_MINOR 0
#define VANTREL_VERSION_TEXT "0.00"
