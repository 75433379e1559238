/* Fixed texts that both the resource script and the program use: the
   templates show them first, the program writes them again when a page
   changes or a message box needs its caption. Plain string literals, UTF-8,
   so that windres (code page 65001) and the C++ compiler read the same bytes.
   A quotation mark inside a text is written \042: both read it as '"', while
   windres warns about \". */
#pragma once

#include "programs/program_captions.h"

#define SETUP_TEXT_ABOUT_CAPTION "Sobre " SETUP_TEXT_CAPTION
#define SETUP_TEXT_BACK "<<Anterior(&A)"
#define SETUP_TEXT_NEXT "Próximo(&P)>>"
#define SETUP_TEXT_INSTALL "Instalar(&I)"
#define SETUP_TEXT_CANCEL "Cancela(&C)"
#define SETUP_TEXT_HELP_HINT "Pressione \042F1\042 para ajuda"
