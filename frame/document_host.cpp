#include "frame/document_host.h"

bool AssignFileName(ScreenDocument& doc, const char* path, DocumentHost& host) {
    if (AssignFileName(doc, path)) return true;
    host.ShowMessage(kPathTooLongText, kPathTooLongCaption);
    return false;
}
