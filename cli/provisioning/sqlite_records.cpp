// The records in an SQLite file: the default, nothing to set up. Writers take the file's lock
// with BEGIN IMMEDIATE and wait for it a bounded time.
#include <sqlite3.h>

#include <memory>

#include "cli/provisioning/records_backends.h"
#include "cli/provisioning/records_schema.h"
#include "cli/support/command_failure.h"

namespace {

constexpr int kLockWaitMs = 15000;

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql, const std::string& where) : db_(db), where_(where) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) Fail();
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.c_str(), -1, SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, int64_t value) {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& BindNull(int index) {
        sqlite3_bind_null(statement_, index);
        return *this;
    }
    // True while a row is there to read.
    bool Step() {
        const int status = sqlite3_step(statement_);
        if (status == SQLITE_ROW) return true;
        if (status != SQLITE_DONE) Fail();
        return false;
    }
    int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::string Text(int column) const {
        const unsigned char* text = sqlite3_column_text(statement_, column);
        return text == nullptr ? "" : reinterpret_cast<const char*>(text);
    }

private:
    [[noreturn]] void Fail() const {
        const int code = sqlite3_errcode(db_);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
            throw CommandFailure(where_ + ": locked by another bench for more than " +
                                 std::to_string(kLockWaitMs / 1000) + " s");
        }
        if (code == SQLITE_READONLY) throw CommandFailure(where_ + ": cannot write the records: the file is read-only");
        throw CommandFailure(where_ + ": " + sqlite3_errmsg(db_));
    }

    sqlite3* db_;
    std::string where_;
    sqlite3_stmt* statement_ = nullptr;
};

class SqliteRecords final : public Records {
public:
    explicit SqliteRecords(const std::string& path) : where_(path) {
        sqlite3* opened = nullptr;
        const int status = sqlite3_open_v2(path.c_str(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        handle_.reset(opened);
        db_ = opened;
        if (status != SQLITE_OK) {
            throw CommandFailure(path + ": cannot open the records: " + (db_ != nullptr ? sqlite3_errmsg(db_) : "no memory"));
        }
        sqlite3_busy_timeout(db_, kLockWaitMs);
        Upgrade();
    }

    uint64_t Allocate(uint64_t seriesStart, StoreRecord& record) override {
        Transaction transaction(*this);
        Statement next(db_, "SELECT next_serial FROM serial_counter WHERE id = 1", where_);
        const uint64_t serial = next.Step() ? static_cast<uint64_t>(next.Integer(0)) : seriesStart;
        Statement(db_, "INSERT INTO serial_counter (id, next_serial) VALUES (1, ?1) "
                       "ON CONFLICT (id) DO UPDATE SET next_serial = excluded.next_serial", where_)
            .Bind(1, static_cast<int64_t>(serial + 1))
            .Step();
        record.serial = serial;
        Insert(record);
        transaction.Commit();
        return serial;
    }

    void Add(StoreRecord& record) override {
        Transaction transaction(*this);
        Insert(record);
        transaction.Commit();
    }

    void Finish(const StoreRecord& record) override {
        Statement(db_, "UPDATE stores SET time_utc = ?1, sent_sha256 = ?2, bytes_sent = ?3, bytes_total = ?4, "
                       "result = ?5, complete = ?6 WHERE id = ?7", where_)
            .Bind(1, record.timeUtc)
            .Bind(2, record.sentSha256)
            .Bind(3, record.bytesSent)
            .Bind(4, record.bytesTotal)
            .Bind(5, record.result)
            .Bind(6, record.complete ? 1 : 0)
            .Bind(7, record.id)
            .Step();
    }

    std::vector<StoreRecord> List(const RecordFilter& filter) override {
        Statement query(db_, std::string("SELECT ") + kRecordColumns +
                                 " FROM stores WHERE (?1 IS NULL OR serial = ?1) AND time_utc >= ?2 AND "
                                 "(?3 = '' OR bench = ?3) ORDER BY id", where_);
        if (filter.serial) {
            query.Bind(1, static_cast<int64_t>(*filter.serial));
        } else {
            query.BindNull(1);
        }
        query.Bind(2, filter.since).Bind(3, filter.bench);
        std::vector<StoreRecord> records;
        while (query.Step()) {
            StoreRecord r;
            r.id = query.Integer(0);
            r.timeUtc = query.Text(1);
            r.bench = query.Text(2);
            r.port = query.Text(3);
            r.screenFile = query.Text(4);
            r.screenSha256 = query.Text(5);
            if (!query.IsNull(6)) r.serial = static_cast<uint64_t>(query.Integer(6));
            r.sentSha256 = query.Text(7);
            r.bytesSent = static_cast<uint32_t>(query.Integer(8));
            r.bytesTotal = static_cast<uint32_t>(query.Integer(9));
            r.result = query.Text(10);
            r.complete = query.Integer(11) != 0;
            records.push_back(std::move(r));
        }
        return records;
    }

private:
    class Transaction {
    public:
        explicit Transaction(SqliteRecords& records) : records_(records) { records_.Execute("BEGIN IMMEDIATE"); }
        ~Transaction() {
            if (!done_) sqlite3_exec(records_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        void Commit() {
            records_.Execute("COMMIT");
            done_ = true;
        }

    private:
        SqliteRecords& records_;
        bool done_ = false;
    };

    void Execute(const std::string& sql) { Statement(db_, sql, where_).Step(); }

    // A write transaction even when nothing is to be changed: a file we cannot write is found
    // here, before any module is touched.
    void Upgrade() {
        Transaction transaction(*this);
        Execute(kSchemaTable);
        Statement read(db_, "SELECT version FROM brevant_schema", where_);
        const int version = read.Step() ? static_cast<int>(read.Integer(0)) : 0;
        CheckSchemaVersion(where_, version);
        for (const Migration& migration : kMigrations) {
            if (migration.toVersion > version) Execute(migration.sqlite);
        }
        Execute("DELETE FROM brevant_schema");
        Statement(db_, "INSERT INTO brevant_schema (version) VALUES (?1)", where_).Bind(1, kRecordsSchemaVersion).Step();
        transaction.Commit();
    }

    void Insert(StoreRecord& record) {
        Statement insert(db_, "INSERT INTO stores (time_utc, bench, port, screen_file, screen_sha256, serial, "
                              "sent_sha256, bytes_sent, bytes_total, result, complete) "
                              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, '', 0, ?7, ?8, 0)", where_);
        insert.Bind(1, record.timeUtc).Bind(2, record.bench).Bind(3, record.port).Bind(4, record.screenFile);
        insert.Bind(5, record.screenSha256).Bind(7, record.bytesTotal).Bind(8, record.result);
        if (record.serial) {
            insert.Bind(6, static_cast<int64_t>(*record.serial));
        } else {
            insert.BindNull(6);
        }
        insert.Step();
        record.id = sqlite3_last_insert_rowid(db_);
    }

    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close(db); }
    };

    std::string where_;
    std::unique_ptr<sqlite3, Closer> handle_;  // closes the file even when the constructor throws
    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Records> OpenSqliteRecords(const std::string& path) { return std::make_unique<SqliteRecords>(path); }
