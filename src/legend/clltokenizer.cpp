#include "legend/clltokenizer.h"

const char* const CLLTokenizer::LegendDelimiters = " ,=|\t\n\"";
const char* const CLLTokenizer::LutDelimiters = "\r ,=\t\"\n";

CLLTokenizer::CLLTokenizer(std::string_view line, const char* delimiters) : m_Rest(line)
{
    for (const char* d = delimiters; *d; ++d)
        m_Delimiters.set(static_cast<unsigned char>(*d));
}

std::string_view CLLTokenizer::Next()
{
    for (;;) {
        m_Token = {};
        if (m_Rest.empty())
            return m_Token;
        size_t pos = 0;
        while (pos < m_Rest.size() && !m_Delimiters.test(static_cast<unsigned char>(m_Rest[pos])))
            ++pos;
        if (pos == m_Rest.size()) {
            m_Token = m_Rest;
            m_Rest = {};
            return m_Token;
        }
        m_Token = m_Rest.substr(0, pos);
        if (m_Rest[pos] == '"') {
            // Whatever stood right before the opening quote is dropped.
            m_Rest.remove_prefix(pos + 1);
            const size_t close = m_Rest.find('"');
            if (close == std::string_view::npos) {
                m_Token = m_Rest;
                m_Rest = {};
            } else {
                m_Token = m_Rest.substr(0, close);
                m_Rest.remove_prefix(close + 1);
            }
            return m_Token;
        }
        m_Rest.remove_prefix(pos + 1);
        if (!m_Token.empty())
            return m_Token;
    }
}

bool CLLTokenizer::IsCommentMarker(std::string_view token)
{
    if (token.empty())
        return false;
    switch (token.front()) {
    case '~':
    case '!':
    case '#':
    case '*':
    case '/':
    case '\\':
        return true;
    default:
        return false;
    }
}
