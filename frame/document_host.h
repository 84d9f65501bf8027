#pragma once
#include "document/screen_document.h"

// The program around the document: the document code reaches the windows, the module and the
// user only through this.
class DocumentHost {
public:
    // The geometry in force changed or was re-applied: size the main window for it and redraw
    // the preview.
    virtual void ResizeForGeometry() = 0;
    // Redraw the whole main window.
    virtual void RedrawFrame() = 0;
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
bool AssignFileName(ScreenDocument& doc, const char* path, DocumentHost& host);
