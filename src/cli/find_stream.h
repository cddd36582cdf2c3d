#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "find/element_ranges.h"
#include "find/formula_search.h"

namespace orvane::cli {

// The report of a search that shows every candidate (--limit 0), written as the search
// finds them so that nothing grows with their number: the "Find" line first, the
// candidates in the order found (rank numbers them so), then what was evaluated and
// removed, known only at the end. JSON puts "candidates" before "evaluated" for the same
// reason. Output goes to standard output in blocks.
class FindReportStream {
public:
    /// Writes the start at once; `elements` are the ranges the counts are indexed by.
    FindReportStream(const find::FindQuery& query, std::vector<find::ElementRange> elements,
                     bool json);
    /// Writes one candidate.
    void add(const find::Candidate& candidate);
    /// Writes the counts of the search and the end.
    void finish(const find::FindResult& result);

private:
    void flushWhenFull();

    std::vector<find::ElementRange> m_elements;
    bool m_json;
    std::size_t m_written = 0;
    std::string m_pending;
};

} // namespace orvane::cli
