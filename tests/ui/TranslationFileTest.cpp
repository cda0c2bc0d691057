// The German translation file as lupdate keeps it: nothing left to translate,
// no placeholder lost, and the core's keys where localizedString looks.
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace velo {
namespace {

struct Entry {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", ... or empty when done
    QStringList files;
};

std::vector<Entry> readEntries(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    std::vector<Entry> entries;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.push_back({context, {}, {}, {}, {}});
        } else if (xml.name() == u"source") {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == u"location") {
            entries.back().files << xml.attributes().value("filename").toString();
        } else if (xml.name() == u"translation") {
            entries.back().type = xml.attributes().value("type").toString();
            entries.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

// %1, %2, ... for tr(), %@ for the core's keys, %n for plurals, in order of
// appearance: a translation may move them but must keep each one.
std::string placeholders(const QString& text) {
    static const QRegularExpression marker("%(\\d+|@|n)");
    QStringList found;
    for (const QRegularExpressionMatch& match : marker.globalMatch(text)) {
        found << match.captured();
    }
    found.sort();
    return found.join(' ').toStdString();
}

TEST(TranslationFile, EveryEntryIsTranslatedAndKeepsItsPlaceholders) {
    std::vector<Entry> entries = readEntries(VELO_TRANSLATION_FILE);
    ASSERT_FALSE(entries.empty());
    int untranslated = 0;
    for (const Entry& entry : entries) {
        std::string where = entry.context.toStdString() + ": " + entry.source.toStdString();
        if (!entry.type.isEmpty() || entry.translation.trimmed().isEmpty()) {
            ++untranslated;
            ADD_FAILURE() << "not translated (" << entry.type.toStdString() << ") " << where;
            continue;
        }
        EXPECT_EQ(placeholders(entry.translation), placeholders(entry.source)) << where;
    }
    EXPECT_EQ(untranslated, 0);
}

TEST(TranslationFile, TheCoresKeysAreInTheContextLocalizedStringLooksIn) {
    static const QRegularExpression core("src/(color|adjust|engine|document|platform)/");
    int coreKeys = 0;
    for (const Entry& entry : readEntries(VELO_TRANSLATION_FILE)) {
        for (const QString& file : entry.files) {
            if (file.contains(core)) {
                ++coreKeys;
                EXPECT_EQ(entry.context.toStdString(), "Velo") << entry.source.toStdString();
            }
        }
    }
    EXPECT_GT(coreKeys, 0);
}

} // namespace
} // namespace velo
