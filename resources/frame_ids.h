#pragma once
// Identifiers of the frame's menu, accelerators, strings and dialogs.
