#pragma once
#include "document/screen_document.h"

// What loading and saving need from the program around the document.
class DocumentHost : public DocumentWindows {
public:
    virtual void MirrorScreen() = 0;
    // A message box owned by the main window, OK only.
    virtual void ShowMessage(const char* text, const char* caption) = 0;

protected:
    ~DocumentHost() = default;
};

inline constexpr char kPathTooLongText[] =
    "The file name is longer than 255 characters. Choose a shorter path.";
inline constexpr char kPathTooLongCaption[] = "Brevant";

// Copies the path into the document, or tells the user why it cannot and changes nothing.
bool AcceptFileName(ScreenDocument& doc, const char* path, DocumentHost& host);
