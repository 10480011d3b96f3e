// hlpc - builds a WinHelp 3.1 (.hlp) file from a small text source.
//
// Usage: hlpc SOURCE OUTPUT.hlp
//
// Source format (plain 7-bit ASCII; tabs count as spaces; LF or CR LF):
//   ; comment             a line starting with ';' is ignored
//   = Title               the help file's title, exactly once
//   # context_id Title    starts a topic; the first topic is the contents topic.
//                         A context id uses A-Z, a-z, 0-9, '_' and '.' and is
//                         unique, case-insensitively.
//   any other text        paragraph text; consecutive lines join with a space,
//                         a blank line ends the paragraph
//   [[context_id|text]]   inside paragraph text: a jump to that topic, on one line
//
// Each topic shows its title as a heading, then its paragraphs. On any error
// hlpc names the line, exits with 1 and leaves OUTPUT as it was.

#include "help_file.h"
#include "help_source.h"

#include <cstdio>
#include <string>

namespace {

int ReadWholeFile(const char* pszPath, std::string& strContent)
{
    std::FILE* pFile = std::fopen(pszPath, "rb");
    if (!pFile)
        return 0;
    char buffer[4096];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        strContent.append(buffer, nRead);
    int bOk = !std::ferror(pFile);
    std::fclose(pFile);
    return bOk;
}

int WriteWholeFile(const std::string& strPath, const CByteBuffer& content)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile)
        return 0;
    size_t nWritten = std::fwrite(content.GetData(), 1, content.GetSize(), pFile);
    int bOk = nWritten == content.GetSize() && std::fflush(pFile) == 0;
    if (std::fclose(pFile) != 0)
        bOk = 0;
    return bOk;
}

// Written beside the target and renamed over it, so a failed write leaves
// neither a partial file nor a damaged older one.
int WriteFileReplacing(const char* pszPath, const CByteBuffer& content)
{
    std::string strTemporary = std::string(pszPath) + ".tmp";
    if (!WriteWholeFile(strTemporary, content)) {
        std::remove(strTemporary.c_str());
        return 0;
    }
    if (std::rename(strTemporary.c_str(), pszPath) != 0) {
        // Windows will not rename over an existing file.
        std::remove(pszPath);
        if (std::rename(strTemporary.c_str(), pszPath) != 0) {
            std::remove(strTemporary.c_str());
            return 0;
        }
    }
    return 1;
}

int ReportError(const std::string& strMessage)
{
    std::fprintf(stderr, "hlpc: error: %s\n", strMessage.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: hlpc SOURCE OUTPUT.hlp\n");
        return 2;
    }
    std::string strSource;
    if (!ReadWholeFile(argv[1], strSource))
        return ReportError(std::string("cannot read '") + argv[1] + "'");
    HelpDocument document;
    std::string strError;
    if (!ParseHelpSource(strSource, argv[1], document, strError))
        return ReportError(strError);
    CByteBuffer helpFile;
    if (!BuildHelpFile(document, helpFile, strError))
        return ReportError(std::string(argv[1]) + ": " + strError);
    if (!WriteFileReplacing(argv[2], helpFile))
        return ReportError(std::string("cannot write '") + argv[2] + "'");
    return 0;
}
