#include "help_source.h"

#include "context_hash.h"

#include <cstdio>
#include <map>

namespace {

// Titles are stored in 16-bit sized records and shown in one line.
const size_t kMaxTitleLength = 255;

class CSourceParser
{
public:
    CSourceParser(const std::string& strSourceName, HelpDocument& document)
        : m_strSourceName(strSourceName), m_document(document)
    {
    }

    int ParseLine(std::string strLine, int nLine);
    int CheckDocument();
    const std::string& GetError() const { return m_strError; }

private:
    int CheckCharacters(std::string& strLine, int nLine);
    int ParseTitleLine(const std::string& strLine, int nLine);
    int ParseTopicLine(const std::string& strLine, int nLine);
    int ParseTextLine(const std::string& strLine, int nLine);
    int ParseLink(const std::string& strLink, int nLine, HelpRun& run);
    void AppendRun(const HelpRun& run);
    int CheckLinkTargets();
    int CheckHashCollisions();
    int Fail(int nLine, const std::string& strMessage);

    std::string m_strSourceName;
    HelpDocument& m_document;
    std::map<std::string, int> m_mapIdLines;  // by GetIdKey
    bool m_bInParagraph = false;
    std::string m_strError;
};

// Context ids are compared the way the viewer hashes them: ignoring case.
std::string GetIdKey(const std::string& strId)
{
    std::string strKey = strId;
    for (char& ch : strKey)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return strKey;
}

std::string TrimSpaces(const std::string& str)
{
    size_t nFirst = str.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return std::string();
    size_t nLast = str.find_last_not_of(' ');
    return str.substr(nFirst, nLast - nFirst + 1);
}

int CSourceParser::Fail(int nLine, const std::string& strMessage)
{
    m_strError = m_strSourceName;
    if (nLine > 0)
        m_strError += ":" + std::to_string(nLine);
    m_strError += ": " + strMessage;
    return 0;
}

// Help text is plain 7-bit ASCII; tabs count as spaces.
int CSourceParser::CheckCharacters(std::string& strLine, int nLine)
{
    for (size_t i = 0; i < strLine.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(strLine[i]);
        if (ch == '\t') {
            strLine[i] = ' ';
            continue;
        }
        if (ch >= 0x80 || ch < 0x20 || ch == 0x7F) {
            char szByte[8];
            std::snprintf(szByte, sizeof(szByte), "0x%02X", ch);
            return Fail(nLine, std::string("byte ") + szByte + " in column " +
                                   std::to_string(i + 1) +
                                   " is not printable 7-bit ASCII");
        }
    }
    return 1;
}

int CSourceParser::ParseLine(std::string strLine, int nLine)
{
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    if (!CheckCharacters(strLine, nLine))
        return 0;
    if (!strLine.empty() && strLine[0] == ';')
        return 1;
    if (TrimSpaces(strLine).empty()) {
        m_bInParagraph = false;
        return 1;
    }
    if (strLine[0] == '=')
        return ParseTitleLine(strLine, nLine);
    if (strLine[0] == '#')
        return ParseTopicLine(strLine, nLine);
    return ParseTextLine(TrimSpaces(strLine), nLine);
}

int CSourceParser::ParseTitleLine(const std::string& strLine, int nLine)
{
    if (!m_document.m_strTitle.empty())
        return Fail(nLine, "the help title is given twice");
    m_document.m_strTitle = TrimSpaces(strLine.substr(1));
    if (m_document.m_strTitle.empty())
        return Fail(nLine, "the help title after '=' is empty");
    if (m_document.m_strTitle.size() > kMaxTitleLength)
        return Fail(nLine, "the help title is longer than " + std::to_string(kMaxTitleLength) + " characters");
    m_bInParagraph = false;
    return 1;
}

int CSourceParser::ParseTopicLine(const std::string& strLine, int nLine)
{
    std::string strRest = TrimSpaces(strLine.substr(1));
    size_t nSpace = strRest.find(' ');
    HelpTopic topic;
    topic.m_nLine = nLine;
    topic.m_strContextId = strRest.substr(0, nSpace);
    if (nSpace != std::string::npos)
        topic.m_strTitle = TrimSpaces(strRest.substr(nSpace));
    if (!IsValidContextId(topic.m_strContextId))
        return Fail(nLine, "context id '" + topic.m_strContextId +
                               "' is empty or has characters other than A-Z, a-z, 0-9, '_' and '.'");
    if (topic.m_strTitle.empty())
        return Fail(nLine, "topic '" + topic.m_strContextId + "' has no title");
    if (topic.m_strTitle.size() > kMaxTitleLength)
        return Fail(nLine, "title of topic '" + topic.m_strContextId + "' is longer than " +
                               std::to_string(kMaxTitleLength) + " characters");
    auto it = m_mapIdLines.find(GetIdKey(topic.m_strContextId));
    if (it != m_mapIdLines.end())
        return Fail(nLine, "duplicate context id '" + topic.m_strContextId +
                               "' (first defined on line " + std::to_string(it->second) + ")");
    m_mapIdLines[GetIdKey(topic.m_strContextId)] = nLine;
    m_document.m_vTopics.push_back(topic);
    m_bInParagraph = false;
    return 1;
}

int CSourceParser::ParseTextLine(const std::string& strLine, int nLine)
{
    if (m_document.m_vTopics.empty())
        return Fail(nLine, "text before the first topic line '# context_id Title'");
    HelpTopic& topic = m_document.m_vTopics.back();
    if (!m_bInParagraph)
        topic.m_vParagraphs.push_back(HelpParagraph());
    else
        AppendRun(HelpRun{" ", "", nLine});
    m_bInParagraph = true;

    size_t nPos = 0;
    while (nPos < strLine.size()) {
        size_t nOpen = strLine.find("[[", nPos);
        if (nOpen == std::string::npos)
            nOpen = strLine.size();
        if (nOpen > nPos)
            AppendRun(HelpRun{strLine.substr(nPos, nOpen - nPos), "", nLine});
        if (nOpen == strLine.size())
            break;
        size_t nClose = strLine.find("]]", nOpen + 2);
        if (nClose == std::string::npos)
            return Fail(nLine, "link '[[' without a closing ']]' on the same line");
        HelpRun run;
        if (!ParseLink(strLine.substr(nOpen + 2, nClose - nOpen - 2), nLine, run))
            return 0;
        AppendRun(run);
        nPos = nClose + 2;
    }
    return 1;
}

int CSourceParser::ParseLink(const std::string& strLink, int nLine, HelpRun& run)
{
    size_t nBar = strLink.find('|');
    if (nBar == std::string::npos)
        return Fail(nLine, "link '[[" + strLink + "]]' needs the form [[context_id|link text]]");
    run.m_strTarget = TrimSpaces(strLink.substr(0, nBar));
    run.m_strText = strLink.substr(nBar + 1);
    run.m_nLine = nLine;
    if (!IsValidContextId(run.m_strTarget))
        return Fail(nLine, "link target '" + run.m_strTarget + "' is not a valid context id");
    if (TrimSpaces(run.m_strText).empty())
        return Fail(nLine, "link to '" + run.m_strTarget + "' has no link text");
    return 1;
}

// Neighbouring plain runs are merged so that a paragraph stores as few strings as possible.
void CSourceParser::AppendRun(const HelpRun& run)
{
    std::vector<HelpRun>& vRuns = m_document.m_vTopics.back().m_vParagraphs.back().m_vRuns;
    if (run.m_strTarget.empty() && !vRuns.empty() && vRuns.back().m_strTarget.empty())
        vRuns.back().m_strText += run.m_strText;
    else
        vRuns.push_back(run);
}

int CSourceParser::CheckLinkTargets()
{
    for (const HelpTopic& topic : m_document.m_vTopics)
        for (const HelpParagraph& paragraph : topic.m_vParagraphs)
            for (const HelpRun& run : paragraph.m_vRuns)
                if (!run.m_strTarget.empty() && m_mapIdLines.count(GetIdKey(run.m_strTarget)) == 0)
                    return Fail(run.m_nLine, "link to unknown context id '" + run.m_strTarget + "'");
    return 1;
}

// The viewer knows topics only by hash, so two ids with one hash could not both be reached.
int CSourceParser::CheckHashCollisions()
{
    std::map<uint32_t, const HelpTopic*> mapHashes;
    for (const HelpTopic& topic : m_document.m_vTopics) {
        uint32_t nHash = HashContextId(topic.m_strContextId);
        auto it = mapHashes.find(nHash);
        if (it != mapHashes.end())
            return Fail(topic.m_nLine, "context id '" + topic.m_strContextId +
                                           "' has the same hash as '" +
                                           it->second->m_strContextId + "'");
        mapHashes[nHash] = &topic;
    }
    return 1;
}

int CSourceParser::CheckDocument()
{
    if (m_document.m_vTopics.empty())
        return Fail(0, "no topics found; a topic starts with a line '# context_id Title'");
    if (m_document.m_strTitle.empty())
        return Fail(0, "no help title; add a line '= Title'");
    return CheckLinkTargets() && CheckHashCollisions();
}

}  // namespace

int ParseHelpSource(const std::string& strText, const std::string& strSourceName,
                    HelpDocument& document, std::string& strError)
{
    document = HelpDocument();
    CSourceParser parser(strSourceName, document);
    size_t nStart = 0;
    int nLine = 1;
    while (nStart < strText.size()) {
        size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        if (!parser.ParseLine(strText.substr(nStart, nEnd - nStart), nLine)) {
            strError = parser.GetError();
            return 0;
        }
        nStart = nEnd + 1;
        ++nLine;
    }
    if (!parser.CheckDocument()) {
        strError = parser.GetError();
        return 0;
    }
    return 1;
}
