#include "cli/provisioning/records.h"

#include "cli/provisioning/records_backends.h"
#include "cli/support/command_failure.h"

void CheckSchemaVersion(const std::string& where, int version) {
    if (version <= kRecordsSchemaVersion) return;
    throw CommandFailure(where + ": the records are of schema version " + std::to_string(version) +
                         ", newer than this brevant-cli knows (" + std::to_string(kRecordsSchemaVersion) +
                         "): use a newer brevant-cli");
}

std::unique_ptr<Records> OpenRecords(const std::string& where) {
#ifdef _WIN32
    throw UsageFailure("--records: this Windows brevant-cli keeps no production records; use the Linux brevant-cli");
#else
    const bool server = where.rfind("postgresql://", 0) == 0 || where.rfind("postgres://", 0) == 0;
    return server ? OpenPostgresRecords(where) : OpenSqliteRecords(where);
#endif
}
