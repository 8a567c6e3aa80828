// The batch record: a small JSON file beside the batch's backups, written when the batch
// ends and marked when it is undone. Paths are kept as the bytes they are.

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <cstdlib>

#include "audit/audit_export.h"
#include "audit/batch.h"
#include "core/file_io.h"
#include "platform/files.h"
#include "tools/backups.h"

namespace drapeline::audit {

namespace {

std::string hex(std::uint64_t n) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(n));
    return text;
}

// Just enough JSON to read back what recordText writes; anything else is no record.
struct Member;
struct Value {
    enum Type { Null, Text, Number, Flag, Object, Array } type = Null;
    std::string text;
    bool flag = false;
    std::vector<Member> members;
    std::vector<Value> items;

    const Value* member(std::string_view key) const;
    std::string textOf(std::string_view key) const;
};

// A named member; not a std::pair, whose traits would ask about Value before it is complete.
struct Member {
    std::string key;
    Value value;
};

const Value* Value::member(std::string_view key) const {
    for (const auto& m : members)
        if (m.key == key) return &m.value;
    return nullptr;
}

std::string Value::textOf(std::string_view key) const {
    const Value* v = member(key);
    return v && (v->type == Text || v->type == Number) ? v->text : std::string();
}

class Parser {
public:
    explicit Parser(std::string_view in) : in_(in) {}

    std::optional<Value> document() {
        Value v;
        if (!value(v, 0)) return std::nullopt;
        space();
        if (at_ != in_.size()) return std::nullopt;
        return v;
    }

private:
    void space() {
        while (at_ < in_.size() && (in_[at_] == ' ' || in_[at_] == '\n' || in_[at_] == '\r' || in_[at_] == '\t')) ++at_;
    }
    bool take(char ch) {
        space();
        if (at_ < in_.size() && in_[at_] == ch) {
            ++at_;
            return true;
        }
        return false;
    }
    bool string(std::string& out) {
        if (!take('"')) return false;
        while (at_ < in_.size()) {
            const char ch = in_[at_++];
            if (ch == '"') return true;
            if (ch != '\\') {
                out += ch;
                continue;
            }
            if (at_ >= in_.size()) return false;
            const char e = in_[at_++];
            if (e == 'u') {
                if (at_ + 4 > in_.size()) return false;
                const std::string digits(in_.substr(at_, 4));
                at_ += 4;
                const long code = std::strtol(digits.c_str(), nullptr, 16);
                if (code > 0xFF) return false;
                out += static_cast<char>(code);
            } else if (e == 'n') {
                out += '\n';
            } else {
                out += e;
            }
        }
        return false;
    }
    bool value(Value& v, int depth) {
        if (depth > 8) return false;
        space();
        if (at_ >= in_.size()) return false;
        const char ch = in_[at_];
        if (ch == '"') {
            v.type = Value::Text;
            return string(v.text);
        }
        if (ch == '{') {
            ++at_;
            v.type = Value::Object;
            if (take('}')) return true;
            do {
                std::string key;
                Value item;
                if (!string(key) || !take(':') || !value(item, depth + 1)) return false;
                v.members.push_back(Member{std::move(key), std::move(item)});
            } while (take(','));
            return take('}');
        }
        if (ch == '[') {
            ++at_;
            v.type = Value::Array;
            if (take(']')) return true;
            do {
                if (!value(v.items.emplace_back(), depth + 1)) return false;
            } while (take(','));
            return take(']');
        }
        for (const auto& [word, flag] : {std::pair{"true", true}, std::pair{"false", false}})
            if (in_.substr(at_, std::string_view(word).size()) == word) {
                at_ += std::string_view(word).size();
                v.type = Value::Flag;
                v.flag = flag;
                return true;
            }
        const std::size_t start = at_;
        while (at_ < in_.size() && (std::isdigit(static_cast<unsigned char>(in_[at_])) || in_[at_] == '-')) ++at_;
        if (at_ == start) return false;
        v.type = Value::Number;
        v.text = std::string(in_.substr(start, at_ - start));
        return true;
    }

    std::string_view in_;
    std::size_t at_ = 0;
};

// A record names one line per changed file: a few hundred kilobytes for the largest
// neighbourhood. A bigger file in the Backup folder is not one of ours.
constexpr std::uint64_t kMaxRecordBytes = 16u << 20;

std::optional<BatchRecord> readRecord(const std::string& path) {
    ByteText bytes;
    try {
        bytes = readWholeFile(path, kMaxRecordBytes);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    const auto doc = Parser(bytes).document();
    if (!doc || doc->type != Value::Object) return std::nullopt;
    BatchRecord record;
    record.path = path;
    record.id = doc->textOf("batch");
    record.time = doc->textOf("time");
    record.action = doc->textOf("action");
    record.neighbourhood = doc->textOf("neighbourhood");
    if (const Value* undone = doc->member("undone")) record.undone = undone->flag;
    const Value* files = doc->member("files");
    if (record.id.empty() || !files || files->type != Value::Array) return std::nullopt;
    for (const Value& f : files->items) {
        BatchFile file{f.textOf("file"), f.textOf("backup"), {}};
        file.written.size = std::strtoull(f.textOf("size").c_str(), nullptr, 10);
        file.written.hash = std::strtoull(f.textOf("hash").c_str(), nullptr, 16);
        if (file.path.empty()) return std::nullopt;
        record.files.push_back(std::move(file));
    }
    return record;
}

}  // namespace

// Declared for batch.cpp; not part of the interface.
std::string recordText(const BatchRecord& record);
std::string writeRecord(BatchRecord& record, const std::string& programFolder, const platform::LocalTime& time);
void rewriteRecord(const BatchRecord& record);

std::string recordText(const BatchRecord& r) {
    std::string out = "{\n  \"batch\": " + jsonString(r.id, true) + ",\n  \"time\": " + jsonString(r.time, true) +
                      ",\n  \"action\": " + jsonString(r.action, true) + ",\n  \"neighbourhood\": " + jsonString(r.neighbourhood, true) +
                      ",\n  \"undone\": " + (r.undone ? "true" : "false") + ",\n  \"files\": [";
    for (std::size_t i = 0; i < r.files.size(); ++i) {
        const BatchFile& f = r.files[i];
        out += std::string(i ? "," : "") + "\n    {\"file\": " + jsonString(f.path, true) + ", \"backup\": " + jsonString(f.backup, true) +
               ", \"size\": " + std::to_string(f.written.size) + ", \"hash\": " + jsonString(hex(f.written.hash), true) + "}";
    }
    return out + "\n  ]\n}\n";
}

std::string writeRecord(BatchRecord& record, const std::string& programFolder, const platform::LocalTime& t) {
    const std::string folder = tools::backupFolder(programFolder);
    platform::createFolder(folder);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    record.time = tools::timeText(t);
    for (int n = 1;; ++n) {
        record.id = std::string("batch_") + stamp + (n > 1 ? "_" + std::to_string(n) : "");
        record.path = platform::joinPath(folder, record.id + ".json");
        if (platform::writeNewFileAtomically(record.path, recordText(record))) return record.path;
    }
}

void rewriteRecord(const BatchRecord& record) { platform::replaceFileAtomically(record.path, recordText(record)); }

std::vector<BatchRecord> listBatches(const std::string& programFolder) {
    const std::string folder = tools::backupFolder(programFolder);
    std::vector<BatchRecord> records;
    for (const auto& name : platform::listFolder(folder, "batch_*.json", platform::Listing::FilesOnly))
        if (auto record = readRecord(platform::joinPath(folder, name))) records.push_back(std::move(*record));
    std::stable_sort(records.begin(), records.end(), [](const BatchRecord& a, const BatchRecord& b) {
        return a.time != b.time ? a.time > b.time : a.id > b.id;
    });
    return records;
}

std::optional<BatchRecord> lastBatch(const std::string& programFolder) {
    for (auto& record : listBatches(programFolder))
        if (!record.undone) return record;
    return std::nullopt;
}

std::optional<BatchRecord> findBatch(const std::string& programFolder, std::string_view id) {
    if (id == "last") return lastBatch(programFolder);
    for (auto& record : listBatches(programFolder))
        if (platform::equalIgnoringCase(record.id, id)) return record;
    return std::nullopt;
}

}  // namespace drapeline::audit
