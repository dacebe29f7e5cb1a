// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "storage/FileSystem.h"

// The system's own file system, but for the calls it is told to fail: the Nth call of
// a kind, in one of the ways a disk, a removed stick or a network share fails, or as
// Windows documents a failed replace. It records every call, and every path it is
// given must be absolute.
class FailingFileSystem : public FileSystem {
public:
    enum class Call {
        Open,
        CreateNew,
        CreateTemporary,
        Read,
        Write,
        Resize,
        Flush,
        Replace,
        Rename,
        Remove,
        FlushFolder
    };
    enum class Fault {
        Refuse,         // nothing done, the call fails
        ShortWrite,     // half of the bytes are written and counted: the caller must go on
        FailAfterPart,  // half of the bytes are written, then the call fails
        // A replace that fails as ReplaceFileW's documentation says it may:
        ReplaceMovesNothing,   // ERROR_UNABLE_TO_REMOVE_REPLACED: both files keep their names
        ReplaceLosesOld,       // ERROR_UNABLE_TO_MOVE_REPLACEMENT, no name for the old file: it is gone
        ReplaceMovesOldAside,  // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file under the aside name
        ReplaceMovesNew,       // a replace that moved the new file and still failed
        // The temporary file is removed by somebody else just before the replace, which
        // then fails as the system fails it.
        TemporaryVanishes,
        // Another save's clean-up of abandoned temporary files runs just before the
        // replace, where the system has closed the temporary file (Windows); the
        // replace follows as the system does it.
        CleanUpBeforeReplace,
    };
    struct Recorded {
        Call call;
        std::filesystem::path path;
    };

    // The nth call (from 1) of a kind fails as fault says.
    void FailAt(Call call, int nth, Fault fault) { m_faults[{call, nth}] = fault; }

    std::vector<Recorded> calls;

    FileHandle OpenRegularFile(const std::filesystem::path& path, FileAccess access, FileFacts& facts) override {
        if (Fails(Call::Open, path)) return {};
        return Real().OpenRegularFile(path, access, facts);
    }
    FileHandle CreateNewFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken) override {
        taken = false;
        if (Fails(Call::CreateNew, path)) return {};
        return Real().CreateNewFile(path, mode, taken);
    }
    FileHandle CreateTemporaryFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken) override {
        taken = false;
        if (Fails(Call::CreateTemporary, path)) return {};
        return Real().CreateTemporaryFile(path, mode, taken);
    }
    void RemoveIfAbandoned(const std::filesystem::path& path) override {
        Check(path);
        Real().RemoveIfAbandoned(path);
    }
    OpenRefusal WhyNotOpened(const std::filesystem::path& path, FileAccess access) override {
        Check(path);
        return Real().WhyNotOpened(path, access);
    }
    std::ptrdiff_t ReadPart(const FileHandle& file, std::uint8_t* data, std::size_t size,
                            std::uint64_t offset) override {
        if (Fails(Call::Read, {})) return -1;
        return Real().ReadPart(file, data, size, offset);
    }
    std::ptrdiff_t WritePart(const FileHandle& file, const std::uint8_t* data, std::size_t size,
                             std::uint64_t offset) override {
        const std::optional<Fault> fault = FaultOf(Call::Write, {});
        if (m_failNextWrite || fault == Fault::Refuse) {
            m_failNextWrite = false;
            return -1;
        }
        if (fault && size > 1) {
            m_failNextWrite = fault == Fault::FailAfterPart;
            return Real().WritePart(file, data, size / 2, offset);
        }
        return Real().WritePart(file, data, size, offset);
    }
    bool Resize(const FileHandle& file, std::uint64_t size) override {
        return !Fails(Call::Resize, {}) && Real().Resize(file, size);
    }
    bool Flush(const FileHandle& file) override { return !Fails(Call::Flush, {}) && Real().Flush(file); }
    bool TakeOwnerAndMode(const FileHandle& file, const FileFacts& old) override {
        return Real().TakeOwnerAndMode(file, old);
    }
    Presence ProbeName(const std::filesystem::path& path) override {
        Check(path);
        return Real().ProbeName(path);
    }
    std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) override {
        Check(path);
        return Real().LinkTarget(path);
    }
    std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) override {
        Check(path);
        return Real().IdentityOf(path);
    }
    bool Replace(const std::filesystem::path& file, const std::filesystem::path& temporary, const AsideNamer& nameAside,
                 FileHandle& handle) override {
        Check(temporary);
        const std::optional<Fault> fault = FaultOf(Call::Replace, file);
        if (!fault) return Real().Replace(file, temporary, nameAside, handle);
        switch (*fault) {
            case Fault::TemporaryVanishes:
                handle.Close();
                Real().Remove(temporary);
                return Real().Replace(file, temporary, nameAside, handle);
            case Fault::CleanUpBeforeReplace:
#ifdef _WIN32
                handle.Close();
#endif
                Real().RemoveIfAbandoned(temporary);
                return Real().Replace(file, temporary, nameAside, handle);
            default: break;
        }
        handle.Close();
        switch (*fault) {
            case Fault::ReplaceLosesOld: Real().Remove(file); break;
            case Fault::ReplaceMovesOldAside: {
                const std::filesystem::path aside = nameAside();
                Check(aside);
                if (!aside.empty()) Real().Rename(file, aside);
                break;
            }
            case Fault::ReplaceMovesNew: Real().Replace(file, temporary, nameAside, handle); break;
            default: break;
        }
        return false;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        Check(from);
        return !Fails(Call::Rename, to) && Real().Rename(from, to);
    }
    bool MakeFolders(const std::filesystem::path& folder) override {
        Check(folder);
        return Real().MakeFolders(folder);
    }
    bool IsFolder(const std::filesystem::path& path) override {
        Check(path);
        return Real().IsFolder(path);
    }
    bool Remove(const std::filesystem::path& path) override {
        return !Fails(Call::Remove, path) && Real().Remove(path);
    }
    void FlushFolder(const std::filesystem::path& folder) override {
        if (!Fails(Call::FlushFolder, folder)) Real().FlushFolder(folder);
    }
    // None: the user's own is left alone.
    std::filesystem::path CacheFolder() override { return {}; }

    // Whether a folder flush was asked for folder after the first call of a kind on a
    // path in it.
    bool FolderFlushedAfter(Call call, const std::filesystem::path& folder) const {
        bool seen = false;
        for (const Recorded& recorded : calls) {
            if (recorded.call == call && recorded.path.parent_path() == folder) seen = true;
            if (seen && recorded.call == Call::FlushFolder && recorded.path == folder) return true;
        }
        return false;
    }

private:
    static FileSystem& Real() { return SystemFileSystem(); }

    void Check(const std::filesystem::path& path) const {
        EXPECT_TRUE(path.empty() || path.is_absolute()) << "a relative path reached the file system: " << path;
    }
    std::optional<Fault> FaultOf(Call call, const std::filesystem::path& path) {
        Check(path);
        calls.push_back({call, path});
        const auto found = m_faults.find({call, ++m_counts[call]});
        if (found == m_faults.end()) return std::nullopt;
        return found->second;
    }
    bool Fails(Call call, const std::filesystem::path& path) { return FaultOf(call, path) == Fault::Refuse; }

    std::map<std::pair<Call, int>, Fault> m_faults;
    std::map<Call, int> m_counts;
    bool m_failNextWrite = false;
};
