#pragma once
// A scripted world for the removal run: files, folders and shared counters
// in memory, every call written to one event list so tests can check what
// happened and in which order.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "uninstaller/uninstall_services.h"

namespace brevix::uninstall {

class FakeServices : public UninstallServices {
public:
    std::vector<std::string> events;
    std::set<std::string> files;
    std::set<std::string> readOnly;
    // Files whose deletion fails for good, whatever is done about it.
    std::set<std::string> locked;
    std::set<std::string> folders;
    std::map<std::string, uint32_t> sharedCounts;
    std::vector<SharedAnswer> answers;  // given in turn; No when they run out
    std::vector<std::string> questions;
    bool programsStart = true;
    int progressTotal = -1;
    int progressPosition = 0;

    void setProgressRange(int total) override {
        progressTotal = total;
        progressPosition = 0;
        events.push_back("range " + std::to_string(total));
    }
    void stepProgress() override { ++progressPosition; }
    void setProgressPosition(int position) override {
        progressPosition = position;
        events.push_back("position " + std::to_string(position));
    }
    void phaseDone(int phase) override { events.push_back("phase " + std::to_string(phase)); }
    void runFinished() override { events.push_back("finished"); }
    SharedAnswer askRemoveSharedFile(const std::string& text) override {
        questions.push_back(text);
        events.push_back("ask");
        if (answers.empty()) return SharedAnswer::No;
        SharedAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    void showError(const std::string& text, const std::string& caption) override {
        events.push_back("error " + caption + ": " + text);
    }
    bool runProgram(const std::string& commandLine, int show, bool wait) override {
        events.push_back("run " + commandLine + " show=" + std::to_string(show) + (wait ? " wait" : " nowait"));
        return programsStart;
    }
    std::string ownExecutable() override { return "/tmp/Del1234"; }
    bool unregisterDll(const std::string& path) override {
        events.push_back("unregister " + path);
        return true;
    }
    bool fileExists(const std::string& path) override { return files.count(path) > 0; }
    DeleteResult deleteFile(const std::string& path) override {
        events.push_back("delete " + path);
        if (!files.count(path)) return DeleteResult::NotFound;
        if (locked.count(path) || readOnly.count(path)) return DeleteResult::AccessDenied;
        files.erase(path);
        return DeleteResult::Deleted;
    }
    bool isReadOnly(const std::string& path) override { return readOnly.count(path) > 0; }
    bool clearReadOnly(const std::string& path) override {
        events.push_back("writable " + path);
        return readOnly.erase(path) > 0;
    }
    void deleteAtRestart(const std::string& path) override {
        events.push_back("delete-at-restart " + path);
        files.erase(path);
    }
    bool removeDirectory(const std::string& path) override {
        events.push_back("rmdir " + path);
        const std::string prefix = path + "/";
        for (const auto& f : files)
            if (f.compare(0, prefix.size(), prefix) == 0) return false;
        for (const auto& f : folders)
            if (f.compare(0, prefix.size(), prefix) == 0) return false;
        return folders.erase(path) > 0;
    }
    std::optional<uint32_t> regGetDword(RegRoot root, const std::string& key, const std::string& name) override {
        if (root != RegRoot::LocalMachine || key != sharedKey()) return std::nullopt;
        auto it = sharedCounts.find(name);
        if (it == sharedCounts.end()) return std::nullopt;
        return it->second;
    }
    bool regSetDword(RegRoot root, const std::string& key, const std::string& name, uint32_t value) override {
        if (root != RegRoot::LocalMachine || key != sharedKey()) return false;
        sharedCounts[name] = value;
        return true;
    }
    bool regDeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
        events.push_back(std::string("delete-value ") + regRootName(root) + "," + key + "," + name);
        if (root == RegRoot::LocalMachine && key == sharedKey()) sharedCounts.erase(name);
        return true;
    }
    bool regDeleteKey(RegRoot root, const std::string& key) override {
        events.push_back(std::string("delete-key ") + regRootName(root) + "," + key);
        return true;
    }
    void pause(int milliseconds) override { events.push_back("pause " + std::to_string(milliseconds)); }

    // Events that start with `prefix`, in order.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
        return out;
    }

private:
    static std::string sharedKey() { return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"; }
};

}  // namespace brevix::uninstall
