#include "document/DocumentController.h"

#include "document/DefaultsKeys.h"
#include "document/FileTypes.h"

namespace velo {

namespace {

std::unique_ptr<VeloDocument> makeVeloDocument(const UserDefaults* defaults, int threads) {
    return std::make_unique<VeloDocument>(defaults, threads);
}

} // namespace

DocumentController::DocumentFactory DocumentController::documentClassForType(const std::string&) {
    return makeVeloDocument;
}

std::string DocumentController::typeForFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (extension == "." + kVeloDocumentExtension) {
        return kVeloDocumentType;
    }
    return extension.empty() ? std::string("image") : extension.substr(1);
}

std::unique_ptr<VeloDocument> DocumentController::makeUntitledDocument() const {
    auto document = documentClassForType(kVeloDocumentType)(&defaults_, numberOfThreads_);
    document->finishSetUp();
    return document;
}

DocumentController::Opened
DocumentController::openDocument(const std::filesystem::path& path) const {
    std::string type = typeForFile(path);
    auto document = documentClassForType(type)(&defaults_, numberOfThreads_);
    VeloDocument::LoadResult loaded = document->readFromFile(path, type);
    if (!loaded.ok) {
        return {nullptr, loaded.error};
    }
    document->setFileName(path.string());
    document->finishSetUp();
    return {std::move(document), {}};
}

void DocumentController::revertDefaults() {
    defaults_.removeObjectForKey(kActiveColorAdjustmentsDefault);
}

} // namespace velo
