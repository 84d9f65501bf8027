// Identifiers of the user-character editor dialog.
#pragma once

#define IDD_CHAR_EDITOR 201
