// Resource and control identifiers, shared by tintbox.rc and the code.
// A control that sends a command carries that command's ID.
#pragma once

#define IDI_TINTBOX       101
#define IDM_MAINMENU      102
#define IDA_ACCELERATORS  103
#define IDM_IDNAMES       105   // never loaded: names the controls and key-only commands
#define IDD_ABOUT         106
#define IDC_PICK          107
#define IDC_STORE         108
#define IDD_HOTKEY        109   // the hotkey dialog

// Commands
#define ID_EXIT           40001
#define ID_R10            40003
#define ID_G10            40004
#define ID_B10            40005
#define ID_R16            40006
#define ID_G16            40007
#define ID_B16            40008
#define ID_H              40009
#define ID_S              40010
#define ID_V              40011
#define ID_HSVMODE        40012
#define ID_RGBMODE        40013
#define ID_NEXTEDIT       40014
#define ID_PREVEDIT       40015
#define ID_EDITCOPY       40016
#define ID_COPY           40017
#define ID_HTMLFORMAT     40018
#define ID_RGBFORMAT      40020
#define ID_DWORDFORMAT    40021
#define ID_PALETTEINIT    40022
#define ID_LIGHTER        40023
#define ID_DARKER         40024
#define ID_GRAYSCALE      40026
#define ID_WEBSITE        40027
#define ID_ABOUT          40028
#define ID_HELP           40029
#define ID_OPENPALETTE    40030
#define ID_SAVEPALETTE    40031
#define ID_INVERT         40032
#define ID_UPPERCASE      40033
#define ID_LOWERCASE      40034
#define ID_CAPTURE        40035
#define ID_COLORDIALOG    40036
#define ID_CANCELCAPTURE  40040
#define ID_WEBSAFE        40044
#define ID_SHARP          40048
#define ID_CSSRGBFORMAT   40060
#define ID_CSSHSLFORMAT   40061
#define ID_HOTKEYDIALOG   40062

// Strings (the string table)
#define IDS_APP_TITLE         2000   // the title of the main window and of the capture overlay
#define IDS_VERSION           2001   // the version dialog's product name and version
#define IDS_HELP_FILE         2002   // the help page beside the program
#define IDS_COPY_BUTTON       2016
#define IDS_CAPTURE_BUTTON    2017
#define IDS_COLOR_LABEL       2032
#define IDS_RED_LABEL         2033   // also the magnifier's rows
#define IDS_GREEN_LABEL       2034
#define IDS_BLUE_LABEL        2035
#define IDS_SCALE_0           2036   // the hue-saturation field's scale
#define IDS_SCALE_359         2037
#define IDS_SCALE_100         2038
#define IDS_HUESAT_LABEL      2039
#define IDS_VALUE_LABEL       2040
#define IDS_PALETTE_LABEL     2041
#define IDS_R_LABEL           2042   // the edit rows
#define IDS_G_LABEL           2043
#define IDS_B_LABEL           2044
#define IDS_H_LABEL           2045
#define IDS_S_LABEL           2046
#define IDS_V_LABEL           2047
#define IDS_CAPTURE_HINT      2048   // the magnifier's hints: cancelling
#define IDS_KEYS_HINT         2049   // and the keys
#define IDS_PALETTE_FILTER    2064   // display text|pattern|, "|" standing for NUL
#define IDS_OPEN_PALETTE      2065   // the open dialog's title and its confirmation's caption
#define IDS_SAVE_PALETTE      2066
#define IDS_RESET_PALETTE     2067   // the confirmation's caption before the factory palette
#define IDS_REPLACE_PALETTE   2068   // the confirmation's question
#define IDS_CANNOT_READ       2069   // %1 the file, %2 the system's reason
#define IDS_CANNOT_WRITE      2070   // %1 the file, %2 the system's reason
#define IDS_CONFIRM_REPLACE   2071   // %1 the file that a save would replace
#define IDS_CANNOT_START      2072   // %1 the system's reason
// The palette formats of other tools: one string block of their own (2112..2127)
#define IDS_FORMAT_FILTERS    2112   // one filter a format of other tools, in the order of PaletteFormat
#define IDS_ALL_PALETTES_FILTER 2113 // the open dialog's filter of every palette file
#define IDS_PALETTE_UNCHANGED 2114   // after a reading fault
#define IDS_COLORS_LEFT_OUT   2115   // %u colours in the file, %u of them left out
#define IDS_FIRST_DROPPED     2116   // %u files dropped, only the first opened
// What is wrong with a palette file, one text a PaletteError
#define IDS_FILE_NOT_THIS_FORMAT 2117
#define IDS_FILE_TRUNCATED    2118
#define IDS_FILE_TOO_LARGE    2119
#define IDS_FILE_OUT_OF_RANGE 2120
#define IDS_FILE_MALFORMED    2121
#define IDS_FILE_UNSUPPORTED  2122
#define IDS_FILE_NO_COLORS    2123
#define IDS_CONTRAST_REFERENCE 2080  // the swatch's tip, line by line; "%s" stands for a ratio or a verdict
#define IDS_CONTRAST_NORMAL   2081
#define IDS_CONTRAST_LARGE    2082
#define IDS_CONTRAST_WHITE_BLACK 2083
#define IDS_CONTRAST_PASS     2084
#define IDS_CONTRAST_FAIL     2085
#define IDS_SWATCH_TIP        2086   // a palette swatch's tip: its text, its number
#define IDS_HOTKEY_NONE       2096   // said once when no hotkey could be had
#define IDS_HOTKEY_TAKEN      2097   // the dialog's chord is another program's
#define IDS_HOTKEY_BARE       2098   // the dialog's chord has no modifier

// Version dialog controls
#define IDC_VERSIONTEXT   1000

// Hotkey dialog controls
#define IDC_HOTKEY_WIN    1100   // "Win +": the hotkey control has no Windows key
#define IDC_HOTKEY_KEY    1101   // the hotkey control
#define IDC_HOTKEY_OFF    1102   // no hotkey
#ifndef IDC_STATIC
#define IDC_STATIC        (-1)
#endif
