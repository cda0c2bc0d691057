#pragma once

#include "document/VeloDocument.h"
#include "platform/UserDefaults.h"

#include <filesystem>
#include <memory>
#include <string>

namespace velo {

// Makes and opens documents: every type opens as a VeloDocument, which tells
// its own archive from an image file by the type name.
class DocumentController {
  public:
    using DocumentFactory = std::unique_ptr<VeloDocument> (*)(const UserDefaults*, int threads);

    explicit DocumentController(UserDefaults& defaults, int numberOfThreads = 0)
        : defaults_(defaults), numberOfThreads_(numberOfThreads) {}

    // The one document class, whatever the type.
    static DocumentFactory documentClassForType(const std::string& typeName);
    // "Velo document" for .velo files, otherwise the file's extension.
    static std::string typeForFile(const std::filesystem::path& path);

    // A new document with the stored (or built-in) default adjustments.
    std::unique_ptr<VeloDocument> makeUntitledDocument() const;

    struct Opened {
        std::unique_ptr<VeloDocument> document;
        std::string error;
    };
    // Opens a file into a finished document (computing, marked unchanged).
    Opened openDocument(const std::filesystem::path& path) const;

    // Forgets the stored default adjustments.
    void revertDefaults();

    UserDefaults& defaults() const { return defaults_; }

  private:
    UserDefaults& defaults_;
    int numberOfThreads_;
};

} // namespace velo
