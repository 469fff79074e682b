#pragma once
// The installer's log (Setup.log): CRLF lines in INI style, read whole at
// open. Lines shorter than three characters and comment lines never count as
// entries, so a blank line or a stray "ab" inside a section is not a path.
#include <string>
#include <string_view>

namespace brevix::uninstall {

class InstallLog {
public:
    // Loads `fileName` from `directory` (which ends in a separator). Where
    // the file system tells case apart, a name that differs only in case is
    // found too, as the log's readers expect. Throws FileException.
    void open(const std::string& directory, const std::string& fileName);
    // Same, from text already in memory (tests, fuzzing).
    void load(std::string_view text);

    int sectionCount(std::string_view name) const;
    // The i-th entry line of the section without its line end; false when
    // there is none.
    bool entry(std::string_view name, int index, std::string& line) const;
    std::string entry(std::string_view name, int index) const;
    // The text after the first '=' of the section's first entry whose part
    // before '=' is `key`; empty when there is none.
    std::string value(std::string_view section, std::string_view key) const;

    const std::string& text() const { return text_; }

private:
    // Start of the first entry line of the section, or npos.
    size_t sectionStart(std::string_view name) const;

    std::string text_;
};

}  // namespace brevix::uninstall
