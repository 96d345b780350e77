#pragma once
// The command that opens a document through its file association (shell and registry).
#include <string>

#include "system/DocumentCommand.h"

TDocumentCommand FindDocumentCommand(const std::string& document);
