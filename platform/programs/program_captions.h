/* The captions of the two programs' main windows. Each program's template
   shows its own, and each looks for the other's open window by it, so both
   programs and both resource scripts take them from here. Plain UTF-8 string
   literals, read alike by windres (code page 65001) and the C++ compiler. */
#pragma once

#define SETUP_TEXT_CAPTION "Setup do Driver da Impressora"
#define UNINSTALLER_TEXT_CAPTION "Desinstalar"
