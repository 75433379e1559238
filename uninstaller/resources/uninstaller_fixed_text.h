/* The uninstaller's window caption: its template shows it, and Setup looks for
   an open uninstaller by it. UTF-8 string literal for windres and C++. */
#pragma once

#define UNINSTALLER_TEXT_CAPTION "Desinstalar"
