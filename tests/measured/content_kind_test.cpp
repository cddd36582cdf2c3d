#include "measured/content_kind.h"

#include <string>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

struct Case {
    std::string head;
    ContentKind kind;
};

TEST(ContentKind, TellsTheKindFromTheFirstBytes) {
    const Case cases[] = {
        {"", ContentKind::Empty},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ContentKind::Binary},
        {"\x01\x02\x03\x04 junk", ContentKind::Binary},
        {"\x1f\x8b\x08\x00", ContentKind::Compressed},
        {"PK\x03\x04", ContentKind::Compressed},
        {"<?xml version=\"1.0\"?>\n<mzML xmlns=\"x\">", ContentKind::MzML},
        {"\xef\xbb\xbf<?xml version=\"1.0\"?><!-- made by hand --><indexedmzML>",
         ContentKind::MzML},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE x>\n<mzXML xmlns=\"x\">", ContentKind::MzXML},
        {"<?xml version=\"1.0\"?>\n<html>", ContentKind::OtherXml},
        {"<?xml version=\"1.0\"?>\n<!-- a comment the head cuts", ContentKind::OtherXml},
        {"# peaks\n100.1\t5\n", ContentKind::Text},
        {"m/z;intensity <mzML>\n", ContentKind::Text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(detectContent(c.head), c.kind);
    }
}

} // namespace
} // namespace orvane::measured
