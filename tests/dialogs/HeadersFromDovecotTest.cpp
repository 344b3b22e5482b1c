// Mail as real mailers write it, fetched from a real POP3 server and shown in
// the headers window: what the user reads, and how the messages classify.
#include "CheckCycle.h"
#include "DialogTest.h"
#include "DovecotServer.h"
#include "HeadersDlg.h"
#include "QuietObserver.h"
#include "TableColumns.h"

#include <QTreeView>

namespace {

TEST(HeadersFromDovecot, ShowTheDecodedSubjectsAndSendersOfAMailbox) {
    DovecotServer server;
    server.AddUser("alice", "alice-pw");
    server.AddUser("bob", "bob-pw");
    // A subject of two words folded over two lines, and a folded Message-Id.
    server.Deliver("alice", "From: =?UTF-8?Q?J=C3=B6rg_M=C3=BCller?= <joerg@example.org>\n"
                            "Subject: =?UTF-8?B?RWlubGFkdW5nIHp1bSBTb21tZXJmZXN0?=\n"
                            " =?UTF-8?B?IGltIEdhcnRlbiDigJMgYml0dGUgenVzYWdlbg==?=\n"
                            "Message-Id:\n <party@example.org>\n\nBody.\n");
    server.Deliver("alice", "From: =?KOI8-R?B?6dfBziDwxdTSz9c=?= <ivan@example.org>\n"
                            "Subject: =?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?=\n"
                            ".Dotted: a header line the server stuffs\n"
                            "Message-Id: <meeting@example.org>\n\nBody.\n");
    server.Deliver("alice", "From: ann@example.org\n"
                            "Subject: Sonne in K\xf6ln und =?x-made-up?Q?K=F6ln?=\n"
                            "Message-Id: <raw@example.org>\n\nBody.\n");
    // The same id unfolded, and a name in raw Latin-1.
    server.Deliver("bob", "From: \"M\xfcller, J\xf6rg\" <j@example.org>\n"
                          "Subject: =?ISO-8859-1?Q?Sch=F6ne_Gr=FC=DFe?=\n"
                          "Message-Id: <party@example.org>\n\nBody.\n");

    std::vector<int32_t> counts;
    KnownMessageIds known;
    HeaderCache cache;
    SignInMemory signIns;
    QuietObserver observer;
    RecordingMessageBoxes boxes;
    CHeadersDlg dialog(boxes);
    auto table = std::make_shared<MessageTable>();
    RunCheck({{server.Address(), "alice", "alice-pw"}, {server.Address(), "bob", "bob-pw"}}, counts,
             *table, known, cache, signIns, observer);
    ASSERT_EQ(table->size(), 4u) << server.Log();
    EXPECT_EQ(States(*table),
              (std::vector<uint32_t>{MessageNew, MessageNew, MessageNew, MessagePending}));
    EXPECT_NE(HeaderTexts(*table)[1].find("\n.Dotted: a header line the server stuffs\n"),
              std::string::npos);

    dialog.SetTable(table);
    dialog.show();
    auto* list = Child<QTreeView>(dialog, "list");
    const std::vector<std::pair<QString, QString>> lines = {
        {"Einladung zum Sommerfest im Garten – bitte zusagen", "Jörg Müller <joerg@example.org>"},
        {"会議のお知らせ", "Иван Петров <ivan@example.org>"},
        {"Sonne in Köln und =?x-made-up?Q?K=F6ln?=", "ann@example.org"},
        {"Schöne Grüße", "Müller, Jörg <j@example.org>"},
    };
    ASSERT_EQ(LineCount(list), static_cast<int>(lines.size()));
    for (int i = 0; i < LineCount(list); ++i) {
        EXPECT_EQ(CellText(list, i, 0), lines[i].first);
        EXPECT_EQ(CellText(list, i, 1), lines[i].second);
    }
    EXPECT_EQ(dialog.windowTitle(), "3 new message(s), 1 pending, 0 error(s)");
}

} // namespace
