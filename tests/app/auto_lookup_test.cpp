// A new disc named by itself: the automatic lookup through the real main window.
#include "app_fixture.h"

#include "app/auto_lookup.h"
#include "cddb/musicbrainz_disc_id.h"
#include "discdb/disc_database.h"
#include "discdb/ui/frm_add_cd.h"
#include "musicbrainz_answers.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(64, 'c');

class AutoLookupTest : public AppFixture {
protected:
    AutoLookupTest() { store(QStringLiteral("Lookup Automatically"), QStringLiteral("1")); }

    // The answer MusicBrainz gives for the disc of `toc`: a release of `count` "Song n".
    static HttpReply found(const DiscToc& toc) {
        std::vector<int> starts;
        for (const TocTrack& t : toc.tracks) starts.push_back(t.startFrame);
        const QString id = musicBrainzDisc(starts, toc.leadoutFrame, false).id;
        const int count = static_cast<int>(toc.tracks.size());
        return {HttpError::None,
                200,
                mb::answer(id, {mb::release("r1", "Night Songs", {{"Ensemble", ""}}, "", "",
                                            {{mb::numbered("Song", count), {id}}})}),
                {}};
    }
    // Answers MusicBrainz from `reply` (none: the request stays outstanding) and the cover archive.
    void serve(std::optional<HttpReply> reply) {
        http.respond = [reply](const QUrl& url, int) -> std::optional<HttpReply> {
            if (url.path().endsWith(QLatin1String("/front-250"))) return HttpReply{HttpError::None, 200, kJpeg, {}};
            return reply;
        };
    }
    QStringList section(const QString& id) { return app->discDatabase().entries(id); }
};

}  // namespace

TEST_F(AutoLookupTest, AnUnknownDiscGetsItsTitlesAndCoverWithoutAClick) {
    serve(found(audioDisc(12, 250)));
    start();
    AutoLookup* lookup = app->autoLookup();
    ASSERT_TRUE(lookup);
    QSignalSpy ended(lookup, &AutoLookup::ended);
    QSignalSpy cover(lookup, &AutoLookup::coverChanged);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_TRUE(ended.at(0).at(0).toBool());

    const QString id = session().disc().ID;
    QStringList expected{"Title=Night Songs", "Artist=Ensemble", "Revision=1", "NumberOfTracks=12"};
    for (int n = 1; n <= 12; ++n) expected << QStringLiteral("Track%1=Song %1").arg(n);
    EXPECT_EQ(section(id), expected);
    EXPECT_EQ(controls().lblCDName->text(), QStringLiteral("Night Songs"));
    EXPECT_EQ(controls().lblArtist->text(), QStringLiteral("Ensemble"));
    EXPECT_TRUE(app->core().picker.lines().value(1).contains(QStringLiteral("Song 2")))
        << app->core().picker.lines().join(u'|').toStdString();
    EXPECT_TRUE(http.requests.front().url.path().startsWith(QLatin1String("/ws/2/discid/")));
    EXPECT_TRUE(boxes.shown.empty()) << "nothing is asked";

    ASSERT_TRUE(cover.count() == 1 || cover.wait(5000));
    EXPECT_EQ(lookup->coverUrl(), QUrl::fromLocalFile(dir.filePath("covers/" + id + ".jpg")).toString());
    EXPECT_EQ(http.requests.back().url.toString(), QStringLiteral("https://coverartarchive.org/release/r1/front-250"));
}

// While MusicBrainz is slow to answer, the disc leaves, another comes, the user opens the
// editor or types elsewhere, or the program quits: the answer writes nothing.
TEST_F(AutoLookupTest, NothingIsWrittenForAGoneDiscOrOverWhatTheUserTyped) {
    const struct {
        const char* name;
        std::function<void(const QString& id)> meanwhile;
        QString title;  // what the first disc's section holds at the end
    } cases[] = {
        {"ejected",
         [this](const QString&) {
             click("cmdEject");
             advance(1000);
         },
         "Unknown Title"},
        {"another disc",
         [this](const QString&) {
             drive->remove();
             advance(1000);
             drive->insert(audioDisc(5, 200));
             advance(1000);
         },
         "Unknown Title"},
        {"the editor opened",
         [this](const QString&) {
             app->openEditor();
             app->editor()->txtTitle()->setText(QStringLiteral("Typed"));
             app->editor()->close();
         },
         "Typed"},
        {"typed elsewhere",
         [this](const QString& id) {
             app->discDatabase().store(id, {"Title=Typed Elsewhere", "Artist=Me", "Revision=1"});
         },
         "Typed Elsewhere"},
        {"quit", [this](const QString&) { app->quit(); }, "Unknown Title"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drive->insert(audioDisc(12, 250));
        QFile::remove(dir.filePath("Velmora.ini"));
        http.requests.clear();
        serve(std::nullopt);
        start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !http.requests.empty(); }));
        const QString id = session().disc().ID;
        const int asked = static_cast<int>(http.requests.size()) - 1;
        c.meanwhile(id);
        http.answer(asked, found(audioDisc(12, 250)));
        QTest::qWait(50);
        EXPECT_EQ(DiscDatabase(dir.filePath("Velmora.ini")).entries(id).value(0), "Title=" + c.title);
        EXPECT_FALSE(std::any_of(http.requests.begin(), http.requests.end(), [](const auto& r) {
            return r.url.toString().contains("cddb");
        })) << "the CDDB server is not asked after the lookup ended";
    }
}

TEST_F(AutoLookupTest, NoLookupForADiscThatNamesItselfOrWhenTurnedOff) {
    for (const bool titled : {true, false}) {
        SCOPED_TRACE(titled ? "CD-Text" : "turned off");
        DiscToc toc = audioDisc(3, 100);
        if (titled) toc.text.title = QStringLiteral("Its Own Title");
        else store(QStringLiteral("Lookup Automatically"), QStringLiteral("0"));
        drive->insert(toc);
        serve(found(toc));
        http.requests.clear();
        start();
        QTest::qWait(100);
        EXPECT_TRUE(http.requests.empty());
    }
}
