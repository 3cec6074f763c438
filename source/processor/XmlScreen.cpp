#include "XmlScreen.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace
{
class Scanner
{
public:
    Scanner (const char* t, std::size_t n) : text (t), length (n) {}

    bool atEnd() const { return pos >= length; }
    char peek (std::size_t ahead = 0) const { return pos + ahead < length ? text[pos + ahead] : '\0'; }

    bool startsWith (const char* token) const
    {
        const std::size_t n = std::strlen (token);
        return length - pos >= n && std::memcmp (text + pos, token, n) == 0;
    }

    void skipSpace()
    {
        while (! atEnd() && isSpace (peek()))
            ++pos;
    }

    // Moves past the next occurrence of token; false when there is none.
    bool skipPast (const char* token)
    {
        const std::size_t n = std::strlen (token);
        for (; pos + n <= length; ++pos)
            if (std::memcmp (text + pos, token, n) == 0)
            {
                pos += n;
                return true;
            }
        pos = length;
        return false;
    }

    bool name (std::string_view& out)
    {
        const std::size_t start = pos;
        if (atEnd() || ! isNameStart (peek()))
            return false;
        while (! atEnd() && isNameChar (peek()))
            ++pos;
        out = std::string_view (text + start, pos - start);
        return true;
    }

    bool reference()
    {
        // at '&'
        ++pos;
        for (const char* entity : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            if (startsWith (entity))
            {
                pos += std::strlen (entity);
                return true;
            }

        if (peek() != '#')
            return false;
        ++pos;
        const bool hex = peek() == 'x' || peek() == 'X';
        if (hex)
            ++pos;
        std::size_t digits = 0;
        while (! atEnd() && digits <= 8 && (hex ? isHex (peek()) : isDigit (peek())))
        {
            ++pos;
            ++digits;
        }
        if (digits == 0 || digits > 8 || peek() != ';')
            return false;
        ++pos;
        return true;
    }

    // Character data up to the next '<'.
    bool characterData()
    {
        while (! atEnd() && peek() != '<')
        {
            if (peek() == '&')
            {
                if (! reference())
                    return false;
            }
            else
            {
                ++pos;
            }
        }
        return true;
    }

    bool attributeValue()
    {
        const char quote = peek();
        if (quote != '"' && quote != '\'')
            return false;
        ++pos;
        while (! atEnd() && peek() != quote)
        {
            if (peek() == '<')
                return false;
            if (peek() == '&')
            {
                if (! reference())
                    return false;
            }
            else
            {
                ++pos;
            }
        }
        if (atEnd())
            return false;
        ++pos;
        return true;
    }

    const char* text;
    std::size_t length;
    std::size_t pos = 0;

private:
    static bool isSpace (char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool isDigit (char c) { return c >= '0' && c <= '9'; }
    static bool isHex (char c) { return isDigit (c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
    static bool isNameStart (char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || (unsigned char) c >= 0x80;
    }
    static bool isNameChar (char c) { return isNameStart (c) || isDigit (c) || c == '-' || c == '.'; }
};
}

bool isPlainWellFormedXml (const char* text, std::size_t length, int maxDepth)
{
    Scanner s (text, length);
    std::vector<std::string_view> open;
    bool rootSeen = false;

    s.skipSpace();
    if (s.startsWith ("<?xml") && ! s.skipPast ("?>"))
        return false;

    for (;;)
    {
        if (open.empty())
        {
            s.skipSpace();
            if (s.atEnd())
                return rootSeen;
        }
        else if (! s.characterData())
        {
            return false;
        }

        if (s.atEnd())
            return false;   // unclosed element

        // at '<'
        if (s.startsWith ("<!--"))
        {
            s.pos += 4;
            if (! s.skipPast ("-->"))
                return false;
            continue;
        }

        if (s.startsWith ("<![CDATA["))
        {
            if (open.empty())
                return false;
            s.pos += 9;
            if (! s.skipPast ("]]>"))
                return false;
            continue;
        }

        if (s.peek (1) == '/')
        {
            s.pos += 2;
            std::string_view closing;
            if (open.empty() || ! s.name (closing) || closing != open.back())
                return false;
            s.skipSpace();
            if (s.peek() != '>')
                return false;
            ++s.pos;
            open.pop_back();
            continue;
        }

        // A start tag; only one root element.
        if (open.empty() && rootSeen)
            return false;

        ++s.pos;
        std::string_view tag;
        if (! s.name (tag))
            return false;

        for (;;)
        {
            const std::size_t before = s.pos;
            s.skipSpace();
            if (s.startsWith ("/>"))
            {
                s.pos += 2;
                rootSeen = true;
                if ((int) open.size() + 1 > maxDepth)
                    return false;
                break;
            }
            if (s.peek() == '>')
            {
                ++s.pos;
                rootSeen = true;
                open.push_back (tag);
                if ((int) open.size() > maxDepth)
                    return false;
                break;
            }
            std::string_view attribute;
            if (s.pos == before || ! s.name (attribute))
                return false;
            s.skipSpace();
            if (s.peek() != '=')
                return false;
            ++s.pos;
            s.skipSpace();
            if (! s.attributeValue())
                return false;
        }
    }
}
