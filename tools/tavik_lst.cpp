// tavik-lst: reads, checks and rewrites checklist files without the window, for
// scripts and scheduled jobs. It uses the same reader and writer as the program.
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model/comment_text.h"
#include "model/progress.h"
#include "platform/codepage/unicode_codec.h"
#include "platform/fileio/file_identity.h"
#include "platform/fileio/file_io.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavik {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitWriteFailed = 1;
constexpr int kExitUsage = 2;

std::string Utf8(std::u16string_view text)
{
    return UnicodeCodec::encodeUtf8(text);
}

int Usage()
{
    std::cerr << "usage: tavik-lst show FILE\n"
                 "       tavik-lst stats FILE\n"
                 "       tavik-lst rewrite FILE [OUT]\n";
    return kExitUsage;
}

struct LoadedChecklist {
    Checklist checklist;
    ChecklistReadResult result;
    FileIdentity identity;
};

std::unique_ptr<LoadedChecklist> Load(const std::string& path)
{
    const Result<FileContents, ReadFailure> read = FileIo::readWholeFile(path);
    if (!read) {
        const ReadFailure& failure = read.reason();
        switch (failure.kind) {
        case ReadFailure::Kind::NotRegularFile:
            std::cerr << "tavik-lst: " << path << ": not a regular file; nothing read\n";
            break;
        case ReadFailure::Kind::TooLarge:
            std::cerr << "tavik-lst: " << path << ": " << failure.size << " bytes is larger than the "
                      << FileIo::kMaxReadBytes << " bytes a checklist may have; nothing read\n";
            break;
        case ReadFailure::Kind::CannotOpen:
            std::cerr << "tavik-lst: cannot open " << failure.reason << "\n";
            break;
        case ReadFailure::Kind::ReadError:
            std::cerr << "tavik-lst: cannot read " << failure.reason << "\n";
            break;
        }
        return nullptr;
    }
    // A checklist is never copied.
    auto loaded = std::make_unique<LoadedChecklist>();
    loaded->result = ReadChecklist(read->bytes, loaded->checklist);
    loaded->identity = read->identity;
    return loaded;
}

void WarnNotReadWhole(const std::string& path, const ChecklistReadResult& result, std::string_view consequence = {})
{
    std::cerr << "tavik-lst: " << path << " was not read whole";
    for (const Notice& notice : result.notices) {
        if (notice.icon == NoticeIcon::Warning)
            std::cerr << ": " << Utf8(notice.text);
    }
    std::cerr << consequence << "\n";
}

int Show(const std::string& path)
{
    const std::unique_ptr<LoadedChecklist> loaded = Load(path);
    if (!loaded)
        return kExitUsage;
    const Checklist& checklist = loaded->checklist;

    nlohmann::ordered_json out;
    out["encoding"] = EncodingName(loaded->result.encoding);
    out["notices"] = nlohmann::json::array();
    for (const Notice& notice : loaded->result.notices)
        out["notices"].push_back(Utf8(notice.text));
    out["whole"] = loaded->result.wholeFileRead;
    out["header"] = Utf8(checklist.headerComment());
    out["rows"] = nlohmann::json::array();
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow row = checklist.row(i);
        out["rows"].push_back(nlohmann::ordered_json{{"mark", Utf8(MarkText(row.mark))}, {"date", Utf8(row.date)},
            {"text", Utf8(row.text)}, {"comment", Utf8(checklist.comment(i))}});
    }
    // The comment list as earlier versions printed it: one entry a row, its lines
    // joined by "!!", then the empty spare entry that a list just read keeps after its
    // last row.
    out["comments"] = nlohmann::json::array();
    for (std::size_t i = 0; i <= checklist.rowCount(); ++i) {
        std::u16string joined;
        AppendCommentText(checklist.comment(i), CommentMode::Joined, joined);
        out["comments"].push_back(Utf8(joined));
    }
    std::cout << out.dump(2) << "\n";
    return kExitOk;
}

int Stats(const std::string& path)
{
    const std::unique_ptr<LoadedChecklist> loaded = Load(path);
    if (!loaded)
        return kExitUsage;
    if (const std::optional<Progress> progress = ComputeProgress(loaded->checklist))
        std::cout << Utf8(progress->counterText()) << "\n";
    // The figures count only what could be read.
    if (!loaded->result.wholeFileRead)
        WarnNotReadWhole(path, loaded->result);
    return kExitOk;
}

int Rewrite(const std::string& path, const std::string& outPath)
{
    const std::unique_ptr<LoadedChecklist> loaded = Load(path);
    if (!loaded)
        return kExitUsage;
    Checklist& checklist = loaded->checklist;
    checklist.setFileUnread(!loaded->result.wholeFileRead);
    Cp932Codec::Unencodable unencodable;
    const std::string bytes = WriteChecklist(checklist, &unencodable);
    // Checked as late as possible: what another program wrote since the read would be lost under the new file.
    const FileOnDisk onDisk{.exists = true, .changedSinceRead = FileIdentity::of(path) != loaded->identity};
    for (const WriteObstacle obstacle : WriteObstacles(checklist, WriteTarget::OwnFile, onDisk)) {
        switch (obstacle) {
        case WriteObstacle::ReadAsUnicode:
            std::cerr << "tavik-lst: " << path << " was read as Unicode (" << EncodingName(loaded->result.encoding)
                      << "); it is written in CP932\n";
            break;
        case WriteObstacle::NotRead:
            // What was not read would be lost under the new file.
            if (loaded->result.encoding == TextEncoding::Undetermined)
                std::cerr << "tavik-lst: " << path << ": the encoding cannot be determined; nothing written\n";
            else
                WarnNotReadWhole(path, loaded->result, "; nothing written");
            return kExitWriteFailed;
        case WriteObstacle::ChangedOnDisk:
            std::cerr << "tavik-lst: " << path
                      << " was changed by another program while it was being rewritten; nothing written\n";
            return kExitWriteFailed;
        }
    }
    if (unencodable.count != 0) {
        std::cerr << "tavik-lst: " << path << ": " << unencodable.count << " characters cannot be written in CP932 ("
                  << Utf8(notices::UnencodableCharacters(unencodable)) << "); nothing written\n";
        return kExitWriteFailed;
    }
    const FileResult<FileIdentity> written = FileIo::replaceFile(outPath, bytes);
    if (!written) {
        std::cerr << "tavik-lst: cannot write " << written.reason().reason << "\n";
        return kExitWriteFailed;
    }
    return kExitOk;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    using namespace tavik;
    if (argc < 3)
        return Usage();
    const std::string_view command = argv[1];
    const std::string file = argv[2];
    if (command == "show" && argc == 3)
        return Show(file);
    if (command == "stats" && argc == 3)
        return Stats(file);
    if (command == "rewrite" && (argc == 3 || argc == 4))
        return Rewrite(file, argc == 4 ? argv[3] : file);
    return Usage();
}
