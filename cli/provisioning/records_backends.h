#pragma once
#include <memory>
#include <string>

#include "cli/provisioning/records.h"

std::unique_ptr<Records> OpenSqliteRecords(const std::string& path);
std::unique_ptr<Records> OpenPostgresRecords(const std::string& uri);

// Refuses a database that a newer brevant-cli has written.
void CheckSchemaVersion(const std::string& where, int version);
