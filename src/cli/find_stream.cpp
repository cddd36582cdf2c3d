#include "cli/find_stream.h"

#include <nlohmann/json.hpp>

#include "cli/find_report.h"
#include "cli/round_trip.h"
#include "cli/standard_output.h"

namespace orvane::cli {
namespace {

std::string dumped(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace

FindReportStream::FindReportStream(const find::FindQuery& query,
                                   std::vector<find::ElementRange> elements, bool json)
    : m_elements(std::move(elements)), m_json(json) {
    if (m_json) {
        // the object's opening members as findJsonReport writes them, up to "candidates"
        m_pending = "{\"find\":{\"mz\":" + dumped(query.mz) + ",\"" +
                    (query.tolerance.milliDaltons ? "mda" : "ppm") +
                    "\":" + dumped(query.tolerance.value) + ",\"candidates\":[";
    } else {
        m_pending = "Find\t" + roundTrip(query.mz) + '\t' + roundTrip(query.tolerance.value) +
                    '\t' + (query.tolerance.milliDaltons ? "mDa" : "ppm") + '\n';
    }
    writeAll(1, m_pending);
    m_pending.clear();
}

void FindReportStream::add(const find::Candidate& candidate) {
    if (m_json) {
        if (m_written > 0) {
            m_pending += ',';
        }
        m_pending += dumped(candidateObject(m_elements, candidate, m_written));
    } else {
        m_pending += candidateLine(candidate, m_written);
    }
    ++m_written;
    flushWhenFull();
}

void FindReportStream::finish(const find::FindResult& result) {
    if (m_json) {
        nlohmann::ordered_json removedBy = nlohmann::ordered_json::object();
        for (std::size_t rule = 0; rule < find::ruleCount; ++rule) {
            removedBy[std::string(find::ruleName(static_cast<find::Rule>(rule)))] =
                result.removedBy[rule];
        }
        m_pending += "],\"evaluated\":" + std::to_string(result.evaluated) +
                     ",\"removedByRules\":" + std::to_string(result.removedByRules) +
                     ",\"removedBy\":" + dumped(removedBy) + "}}\n";
    } else {
        m_pending += "Evaluated\t" + std::to_string(result.evaluated) + '\n';
        m_pending += "RemovedByRules\t" + std::to_string(result.removedByRules) + '\n';
        for (std::size_t rule = 0; rule < find::ruleCount; ++rule) {
            if (result.removedBy[rule] > 0) {
                m_pending += "RemovedBy\t" +
                             std::string(find::ruleName(static_cast<find::Rule>(rule))) + '\t' +
                             std::to_string(result.removedBy[rule]) + '\n';
            }
        }
    }
    writeAll(1, m_pending);
    m_pending.clear();
}

void FindReportStream::flushWhenFull() {
    // whole blocks, so that a reader of a pipe sees the candidates as they come
    if (m_pending.size() > 1 << 16) {
        writeAll(1, m_pending);
        m_pending.clear();
    }
}

} // namespace orvane::cli
