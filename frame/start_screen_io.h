#pragma once
#include "frame/document_host.h"

// Reads the file named by fileName into the document, reports failures, and always mirrors.
void LoadStartScreen(ScreenDocument& doc, DocumentHost& host);

// Writes the document to fileName without ever losing the file that was there; a failure is reported.
bool SaveStartScreen(const ScreenDocument& doc, DocumentHost& host);
