// help_source.h - the parsed help source and its parser.
//   HelpRun, HelpParagraph, HelpTopic, HelpDocument: what the source says.
//   ParseHelpSource: text to HelpDocument, checking every rule of the source
//   format (see hlpc.cpp) and every link target.
#pragma once

#include <string>
#include <vector>

struct HelpRun
{
    std::string m_strText;
    std::string m_strTarget;  // context id of a jump; empty for plain text
    int m_nLine = 0;
};

struct HelpParagraph
{
    std::vector<HelpRun> m_vRuns;
};

struct HelpTopic
{
    std::string m_strContextId;
    std::string m_strTitle;
    int m_nLine = 0;
    std::vector<HelpParagraph> m_vParagraphs;
};

struct HelpDocument
{
    std::string m_strTitle;
    std::vector<HelpTopic> m_vTopics;  // the first one is the contents topic
};

// Nonzero on success; otherwise strError reads "<strSourceName>:<line>: <what is wrong>".
int ParseHelpSource(const std::string& strText, const std::string& strSourceName,
                    HelpDocument& document, std::string& strError);
