#pragma once

#include <cstdint>
#include <string>

#include "check/check.hpp"

namespace tesmara::check {

// Writes the run as plain G-code while it happens: one block per motion with
// absolute numbers, and the tool, spindle, coolant and offset words in order.
// The text goes to the sink in pieces of a few kilobytes.
class ExpandWriter {
public:
    explicit ExpandWriter(const std::function<void(std::string_view)>& sink);

    bool enabled() const { return static_cast<bool>(m_sink); }
    void line(std::string_view text);
    // `axes`: X 1, Y 2, Z 4, the axes to write; an arc always has X and Y.
    void motion(const Segment& segment, std::uint8_t axes);
    void finish();

private:
    void flush();

    const std::function<void(std::string_view)>& m_sink;
    std::string m_body;
    Compensation m_compensation = Compensation::Off;
    int m_register = 0;
    double m_feed = -1.0;
};

}  // namespace tesmara::check
