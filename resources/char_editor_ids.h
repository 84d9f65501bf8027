#pragma once
// Identifiers of the user-character editor dialog.
