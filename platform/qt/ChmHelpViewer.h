#pragma once
// The program's help viewer: opens "Vigil.chm"-style compiled help files in its own windows, one
// per file, at the topic of a context number or at the default topic. Without chmlib it hands
// the file to an installed CHM viewer program instead (xchm or kchmviewer), at its first page.
// Failures are silent. GUI thread only.
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/HelpService.h"

class QProcess;

namespace platform {

class ChmHelpWindow;

class ChmHelpViewer : public HelpService {
  public:
    ChmHelpViewer();
    ~ChmHelpViewer() override;

    void showTopic(const std::string& helpFilePath, int context) override;
    void showContents(const std::string& fileName) override;
    void closeAll() override;

    // The open window of a help file, or null.
    ChmHelpWindow* window(const std::string& helpFilePath) const;

  private:
    ChmHelpWindow* windowFor(const QString& fullPath);
    void present(ChmHelpWindow* window, const std::string& page);
    void startExternalViewer(const QString& fullPath);

    std::map<QString, std::unique_ptr<ChmHelpWindow>> windows_;
    std::vector<std::unique_ptr<QProcess>> viewers_;
};

}  // namespace platform
