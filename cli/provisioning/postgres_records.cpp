// The records on a PostgreSQL server, for benches that share them. A locked counter row hands
// out the serial numbers; a transaction-wide advisory lock keeps two upgrades apart.
#include <libpq-fe.h>

#include <memory>
#include <optional>

#include "cli/provisioning/records_backends.h"
#include "cli/provisioning/records_schema.h"
#include "cli/support/command_failure.h"

namespace {

constexpr const char* kUpgradeLock = "SELECT pg_advisory_xact_lock(7301)";

class Result {
public:
    explicit Result(PGresult* result) : result_(result) {}
    ~Result() { PQclear(result_); }
    Result(Result&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    PGresult* Get() const { return result_; }
    int Rows() const { return PQntuples(result_); }
    bool IsNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
    std::string Text(int row, int column) const { return PQgetvalue(result_, row, column); }
    int64_t Integer(int row, int column) const { return std::stoll(Text(row, column)); }

private:
    PGresult* result_;
};

class PostgresRecords final : public Records {
public:
    explicit PostgresRecords(const std::string& uri)
        : where_(Redacted(uri)), handle_(PQconnectdb(uri.c_str())), connection_(handle_.get()) {
        PQsetNoticeProcessor(connection_, [](void*, const char*) {}, nullptr);
        if (PQstatus(connection_) != CONNECTION_OK) throw CommandFailure(where_ + ": cannot reach the records: " + Reason());
        Upgrade();
    }

    uint64_t Allocate(uint64_t seriesStart, StoreRecord& record) override {
        Transaction transaction(*this);
        Run("INSERT INTO serial_counter (id, next_serial) VALUES (1, $1) ON CONFLICT (id) DO NOTHING",
            {std::to_string(seriesStart)});
        const Result next = Run("SELECT next_serial FROM serial_counter WHERE id = 1 FOR UPDATE", {});
        const uint64_t serial = static_cast<uint64_t>(next.Integer(0, 0));
        Run("UPDATE serial_counter SET next_serial = $1 WHERE id = 1", {std::to_string(serial + 1)});
        record.serial = serial;
        Insert(record);
        transaction.Commit();
        return serial;
    }

    void Add(StoreRecord& record) override { Insert(record); }

    void Finish(const StoreRecord& record) override {
        Run("UPDATE stores SET time_utc = $1, sent_sha256 = $2, bytes_sent = $3, bytes_total = $4, result = $5, "
            "complete = $6 WHERE id = $7",
            {record.timeUtc, record.sentSha256, std::to_string(record.bytesSent), std::to_string(record.bytesTotal),
             record.result, record.complete ? "1" : "0", std::to_string(record.id)});
    }

    std::vector<StoreRecord> List(const RecordFilter& filter) override {
        const Result rows = Run(std::string("SELECT ") + kRecordColumns +
                                    " FROM stores WHERE ($1::BIGINT IS NULL OR serial = $1::BIGINT) AND time_utc >= $2 "
                                    "AND ($3 = '' OR bench = $3) ORDER BY id",
                                {filter.serial ? Parameter(std::to_string(*filter.serial)) : std::nullopt,
                                 filter.since, filter.bench});
        std::vector<StoreRecord> records;
        for (int i = 0; i < rows.Rows(); ++i) {
            StoreRecord r;
            r.id = rows.Integer(i, 0);
            r.timeUtc = rows.Text(i, 1);
            r.bench = rows.Text(i, 2);
            r.port = rows.Text(i, 3);
            r.screenFile = rows.Text(i, 4);
            r.screenSha256 = rows.Text(i, 5);
            if (!rows.IsNull(i, 6)) r.serial = static_cast<uint64_t>(rows.Integer(i, 6));
            r.sentSha256 = rows.Text(i, 7);
            r.bytesSent = static_cast<uint32_t>(rows.Integer(i, 8));
            r.bytesTotal = static_cast<uint32_t>(rows.Integer(i, 9));
            r.result = rows.Text(i, 10);
            r.complete = rows.Integer(i, 11) != 0;
            records.push_back(std::move(r));
        }
        return records;
    }

private:
    class Transaction {
    public:
        explicit Transaction(PostgresRecords& records) : records_(records) { records_.Run("BEGIN", {}); }
        ~Transaction() {
            if (!done_) PQclear(PQexec(records_.connection_, "ROLLBACK"));
        }
        void Commit() {
            records_.Run("COMMIT", {});
            done_ = true;
        }

    private:
        PostgresRecords& records_;
        bool done_ = false;
    };

    // The password never reaches a message.
    static std::string Redacted(const std::string& uri) {
        const size_t scheme = uri.find("://");
        const size_t at = uri.find('@');
        if (scheme == std::string::npos || at == std::string::npos) return uri;
        const size_t colon = uri.find(':', scheme + 3);
        return colon < at ? uri.substr(0, colon) + ":***" + uri.substr(at) : uri;
    }

    std::string Reason() const {
        std::string reason;
        for (const char* c = PQerrorMessage(connection_); *c != '\0'; ++c) {
            const bool space = *c == '\n' || *c == '\t';
            if (!space || (!reason.empty() && reason.back() != ' ')) reason += space ? ' ' : *c;
        }
        while (!reason.empty() && reason.back() == ' ') reason.pop_back();
        return reason;
    }

    using Parameter = std::optional<std::string>;

    Result Run(const std::string& sql, const std::vector<Parameter>& parameters) {
        std::vector<const char*> values;
        for (const Parameter& p : parameters) values.push_back(p ? p->c_str() : nullptr);
        Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(),
                                   nullptr, nullptr, 0));
        const ExecStatusType status = PQresultStatus(result.Get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            throw CommandFailure(where_ + ": " + Reason());
        }
        return result;
    }

    void Upgrade() {
        Transaction transaction(*this);
        Run(kUpgradeLock, {});
        Run(kSchemaTable, {});
        const Result read = Run("SELECT version FROM brevant_schema", {});
        const int version = read.Rows() > 0 ? static_cast<int>(read.Integer(0, 0)) : 0;
        CheckSchemaVersion(where_, version);
        for (const Migration& migration : kMigrations) {
            if (migration.toVersion > version) Run(migration.postgres, {});
        }
        Run("DELETE FROM brevant_schema", {});
        Run("INSERT INTO brevant_schema (version) VALUES ($1)", {std::to_string(kRecordsSchemaVersion)});
        transaction.Commit();
    }

    void Insert(StoreRecord& record) {
        const Result id = Run(
            "INSERT INTO stores (time_utc, bench, port, screen_file, screen_sha256, serial, sent_sha256, bytes_sent, "
            "bytes_total, result, complete) VALUES ($1, $2, $3, $4, $5, $6::BIGINT, '', 0, $7, $8, 0) RETURNING id",
            {record.timeUtc, record.bench, record.port, record.screenFile, record.screenSha256,
             record.serial ? Parameter(std::to_string(*record.serial)) : std::nullopt, std::to_string(record.bytesTotal),
             record.result});
        record.id = id.Integer(0, 0);
    }

    struct Finisher {
        void operator()(PGconn* connection) const { PQfinish(connection); }
    };

    std::string where_;
    std::unique_ptr<PGconn, Finisher> handle_;  // let go even when the constructor throws
    PGconn* connection_ = nullptr;
};

}  // namespace

std::unique_ptr<Records> OpenPostgresRecords(const std::string& uri) { return std::make_unique<PostgresRecords>(uri); }
