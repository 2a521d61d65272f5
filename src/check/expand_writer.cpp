#include "check/expand_writer.hpp"

#include "check/format.hpp"

namespace tesmara::check {

namespace {

constexpr std::size_t kPiece = 64 * 1024;

}  // namespace

ExpandWriter::ExpandWriter(const std::function<void(std::string_view)>& sink) : m_sink(sink) {
    if (enabled()) {
        m_body = "%\r\nO100\r\nG90 G17 G94\r\n";
    }
}

void ExpandWriter::line(std::string_view text) {
    m_body.append(text);
    m_body.append("\r\n");
    if (m_body.size() >= kPiece) {
        flush();
    }
}

void ExpandWriter::flush() {
    m_sink(m_body);
    m_body.clear();
}

void ExpandWriter::motion(const Segment& s, std::uint8_t axes) {
    std::string text;
    const bool compChanged =
        s.compensation != m_compensation ||
        (s.compensation != Compensation::Off && s.compensationRegister != m_register);
    if (compChanged) {
        text = s.compensation == Compensation::Off    ? "G40 "
               : s.compensation == Compensation::Left ? "G41 "
                                                      : "G42 ";
        m_compensation = s.compensation;
        m_register = s.compensationRegister;
    }
    if (s.kind == MoveKind::Rapid) {
        text += "G0";
    } else if (s.shape == Shape::Line) {
        text += "G1";
    } else {
        text += s.clockwise ? "G2" : "G3";
    }
    if (s.shape == Shape::Arc) {
        axes |= 3;
    }
    if (axes & 1) {
        text += " X" + formatNumber(s.end.x);
    }
    if (axes & 2) {
        text += " Y" + formatNumber(s.end.y);
    }
    if (axes & 4) {
        text += " Z" + formatNumber(s.end.z);
    }
    if (s.shape == Shape::Arc) {
        text +=
            " I" + formatNumber(s.centreX - s.start.x) + " J" + formatNumber(s.centreY - s.start.y);
    }
    if (compChanged && s.compensation != Compensation::Off) {
        text += " D" + std::to_string(s.compensationRegister);
    }
    if (s.kind == MoveKind::Feed && s.feed != m_feed) {
        text += " F" + formatNumber(s.feed);
        m_feed = s.feed;
    }
    line(text);
}

void ExpandWriter::finish() {
    m_body.append("M30\r\n%");
    flush();
}

}  // namespace tesmara::check
