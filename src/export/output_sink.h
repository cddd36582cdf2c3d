#pragma once

#include <string>
#include <string_view>

namespace orvane::exporting {

// Where a file's bytes go as they are made: the safe file writer passes one that writes
// them out in blocks, so that a file larger than memory is never held whole.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    /// Appends the bytes; raises text::Error when they cannot be written.
    virtual void write(std::string_view bytes) = 0;
};

// Keeps everything in one text: for small outputs and for tests.
class StringSink : public OutputSink {
public:
    void write(std::string_view bytes) override { m_text.append(bytes); }
    /// Everything written so far.
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace orvane::exporting
