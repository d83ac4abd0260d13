// The SQL box's reading of Access SQL on its own: which pieces of a line are
// coloured as what (literals and names spanning lines included), where a
// completion request stands and what it offers, and the query history's
// walk with Ctrl+Up and Ctrl+Down.
#include <QTest>

#include "jet/sql_functions.h"
#include "sql/query_history.h"
#include "sql/sql_completion.h"
#include "sql/sql_syntax.h"

using sql::QueryHistory;
using sql::SqlCompletion;
using sql::SqlSyntax;

namespace {

// Each token as "kind:text", joined by spaces.
QString tokensOf(const QString& line, SqlSyntax::State& state) {
    static const char* const kinds[] = {"kw", "fn", "text", "date", "name", "num"};
    QStringList out;
    for (const SqlSyntax::Token& t : SqlSyntax::scanLine(line, state)) {
        out.append(QStringLiteral("%1:%2").arg(QLatin1String(kinds[int(t.kind)]),
                                               line.mid(t.start, t.length)));
    }
    return out.join(u' ');
}

sql::SqlNames sampleNames() {
    sql::SqlNames names;
    names.sources.push_back(
        {QStringLiteral("Orders"),
         false,
         {QStringLiteral("OrderID"), QStringLiteral("Ship Date"), QStringLiteral("Date")}});
    names.sources.push_back({QStringLiteral("Order Details"),
                             false,
                             {QStringLiteral("OrderID"), QStringLiteral("Quantity")}});
    names.sources.push_back({QStringLiteral("Sales by Year"), true, {QStringLiteral("Total")}});
    return names;
}

QString offered(const QString& before, const QString& statement = QString()) {
    const SqlCompletion::Request r = SqlCompletion::at(before);
    QStringList out;
    for (const SqlCompletion::Offer& o :
         SqlCompletion::offers(r, sampleNames(), statement.isEmpty() ? before : statement)) {
        if (o.kind != SqlCompletion::Kind::Function) {
            out.append(o.inserted);
        }
    }
    return out.join(u'|');
}

}  // namespace

class SqlSyntaxTest : public QObject {
    Q_OBJECT
  private slots:
    void tokensOfALine_data();
    void tokensOfALine();
    void literalsAndNamesGoOnInTheNextLine();
    void everyEngineFunctionIsOfferedAsAccessSpellsIt();
    void bracketsWhereAccessNeedsThem();
    void requestAtTheCaret_data();
    void requestAtTheCaret();
    void offersForEachPlace_data();
    void offersForEachPlace();
    void anywhereOffersFunctionsToo();
    void historyWalksOlderAndNewer();
    void historyKeepsEachDatabaseApartWithinLimits();
    void historyWalkStartsOverFromAChangedText();
};

void SqlSyntaxTest::tokensOfALine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tokens");
    QTest::newRow("keywords any case") << "select * From T where a like 'x*'"
                                       << "kw:select kw:From kw:where kw:like text:'x*'";
    QTest::newRow("double-quoted with doubled quote") << R"(WHERE a = "say ""hi"" now")"
                                                      << R"(kw:WHERE text:"say ""hi"" now")";
    QTest::newRow("single-quoted with doubled quote") << "'it''s' AND"
                                                      << "text:'it''s' kw:AND";
    QTest::newRow("date and number") << "d > #1/2/2003# OR n = 12.5"
                                     << "date:#1/2/2003# kw:OR num:12.5";
    QTest::newRow("bracketed name hides keywords") << "SELECT [Order Date], [Select]"
                                                   << "kw:SELECT name:[Order Date] name:[Select]";
    QTest::newRow("function call") << "IIf(Nz(x,0) > 1, DateAdd('d', 1, Now()), Null)"
                                   << "fn:IIf fn:Nz num:0 num:1 fn:DateAdd text:'d' num:1 fn:Now "
                                      "kw:Null";
    QTest::newRow("LEFT JOIN against Left()") << "LEFT JOIN b ON Left (x, 2) = 'a'"
                                              << "kw:LEFT kw:JOIN kw:ON fn:Left num:2 text:'a'";
    QTest::newRow("no comments in Access SQL") << "-- not a comment 'x'"
                                               << "kw:not text:'x'";
    QTest::newRow("digits inside a word are no number") << "Field2 + 3"
                                                        << "num:3";
    QTest::newRow("quote inside brackets") << "[it's] = 'a'"
                                           << "name:[it's] text:'a'";
}

void SqlSyntaxTest::tokensOfALine() {
    QFETCH(QString, line);
    QFETCH(QString, tokens);
    SqlSyntax::State state = SqlSyntax::Plain;
    QCOMPARE(tokensOf(line, state), tokens);
    QCOMPARE(state, SqlSyntax::Plain);
}

void SqlSyntaxTest::literalsAndNamesGoOnInTheNextLine() {
    SqlSyntax::State state = SqlSyntax::Plain;
    QCOMPARE(tokensOf(QStringLiteral("SELECT 'two"), state), QStringLiteral("kw:SELECT text:'two"));
    QCOMPARE(state, SqlSyntax::InSingleQuoted);
    QCOMPARE(tokensOf(QStringLiteral("lines' FROM [a"), state),
             QStringLiteral("text:lines' kw:FROM name:[a"));
    QCOMPARE(state, SqlSyntax::InBracket);
    QCOMPARE(tokensOf(QStringLiteral("b] WHERE"), state), QStringLiteral("name:b] kw:WHERE"));
    QCOMPARE(state, SqlSyntax::Plain);
    QCOMPARE(SqlSyntax::stateAtEnd(u"SELECT \"a\nb"), SqlSyntax::InDoubleQuoted);
    QCOMPARE(SqlSyntax::stateAtEnd(u"x = #1/1"), SqlSyntax::InDate);
}

// A function the engine gains is offered at once; the spelling table keeps
// Access's capitals for every one.
void SqlSyntaxTest::everyEngineFunctionIsOfferedAsAccessSpellsIt() {
    const QStringList offeredNames = SqlSyntax::functionNames();
    QCOMPARE(offeredNames.size(), int(jet::sqlFunctionNames().size()));
    for (const std::string& engineName : jet::sqlFunctionNames()) {
        const QString upper = QString::fromStdString(engineName);
        const auto it = std::find_if(offeredNames.begin(), offeredNames.end(),
                                     [&](const QString& n) { return n.toUpper() == upper; });
        QVERIFY2(it != offeredNames.end(), qPrintable(upper));
        QVERIFY2(*it != upper || upper.size() <= 1, qPrintable(upper + " is not spelled"));
    }
    QVERIFY(offeredNames.contains(QStringLiteral("DateAdd")));
    QVERIFY(offeredNames.contains(QStringLiteral("IIf")));
}

void SqlSyntaxTest::bracketsWhereAccessNeedsThem() {
    for (const char* plain : {"Orders", "Field_2", "Ünit"}) {
        QVERIFY2(!SqlSyntax::needsBrackets(QString::fromUtf8(plain)), plain);
    }
    for (const char* bracketed : {"Order Details", "2nd", "Select", "Date", "a-b", "_x", ""}) {
        QVERIFY2(SqlSyntax::needsBrackets(QString::fromUtf8(bracketed)), bracketed);
    }
}

void SqlSyntaxTest::requestAtTheCaret_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("context");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("bracketOpen");
    using C = SqlCompletion::Context;
    QTest::newRow("word") << "SELECT Ord" << int(C::Anywhere) << 7 << "Ord"
                          << "" << false;
    QTest::newRow("after a blank") << "SELECT " << int(C::Anywhere) << 7 << ""
                                   << "" << false;
    QTest::newRow("open bracket") << "FROM [Order D" << int(C::InBracket) << 6 << "Order D"
                                  << "" << true;
    QTest::newRow("dot after word") << "SELECT o.Ord" << int(C::Member) << 9 << "Ord"
                                    << "o" << false;
    QTest::newRow("dot after bracketed") << "SELECT [Order Details]." << int(C::Member) << 23 << ""
                                         << "Order Details" << false;
    QTest::newRow("bracket after dot") << "SELECT Orders.[Sh" << int(C::Member) << 15 << "Sh"
                                       << "Orders" << true;
    QTest::newRow("bang separator") << "Orders!Qu" << int(C::Member) << 7 << "Qu"
                                    << "Orders" << false;
    QTest::newRow("second line") << "SELECT *\nFROM Ord" << int(C::Anywhere) << 14 << "Ord"
                                 << "" << false;
    QTest::newRow("inside text") << "WHERE a = 'Ord" << int(C::None) << 0 << ""
                                 << "" << false;
    QTest::newRow("inside date") << "WHERE d = #1/" << int(C::None) << 0 << ""
                                 << "" << false;
    QTest::newRow("decimal point") << "WHERE n > 1." << int(C::None) << 12 << ""
                                   << "" << false;
    QTest::newRow("closed bracket") << "FROM [Orders]" << int(C::Anywhere) << 13 << ""
                                    << "" << false;
}

void SqlSyntaxTest::requestAtTheCaret() {
    QFETCH(QString, before);
    QFETCH(int, context);
    QFETCH(int, start);
    QFETCH(QString, prefix);
    QFETCH(QString, owner);
    QFETCH(bool, bracketOpen);
    const SqlCompletion::Request r = SqlCompletion::at(before);
    QCOMPARE(int(r.context), context);
    if (r.context == SqlCompletion::Context::None) {
        return;
    }
    QCOMPARE(r.start, start);
    QCOMPARE(r.prefix, prefix);
    QCOMPARE(r.owner, owner);
    QCOMPARE(r.bracketOpen, bracketOpen);
}

void SqlSyntaxTest::offersForEachPlace_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("offers");
    QTest::newRow("fields of a table, bracketed where needed") << "SELECT Orders."
                                                               << ""
                                                               << "[Date]|OrderID|[Ship Date]";
    QTest::newRow("fields after an opened bracket close it") << "SELECT Orders.["
                                                             << ""
                                                             << "Date]|OrderID]|Ship Date]";
    QTest::newRow("fields of a bracketed table") << "SELECT [order details]."
                                                 << ""
                                                 << "OrderID|Quantity";
    QTest::newRow("fields through an AS alias") << "SELECT d."
                                                << "SELECT d. FROM [Order Details] AS d"
                                                << "OrderID|Quantity";
    QTest::newRow("fields through a bare alias") << "SELECT o."
                                                 << "SELECT o. FROM Orders o"
                                                 << "[Date]|OrderID|[Ship Date]";
    QTest::newRow("unknown owner offers nothing") << "SELECT x."
                                                  << ""
                                                  << "";
    QTest::newRow("names in a bracket") << "SELECT * FROM ["
                                        << ""
                                        << "Order Details]|Orders]|Sales by Year]";
    QTest::newRow("anywhere: sources, then fields of the named ones once")
        << "SELECT "
        << "SELECT  FROM Orders INNER JOIN [Order Details] ON 1=1"
        << "[Date]|[Order Details]|OrderID|Orders|Quantity|[Sales by Year]|[Ship Date]";
}

void SqlSyntaxTest::offersForEachPlace() {
    QFETCH(QString, before);
    QFETCH(QString, statement);
    QFETCH(QString, offers);
    QCOMPARE(offered(before, statement), offers);
}

void SqlSyntaxTest::anywhereOffersFunctionsToo() {
    const SqlCompletion::Request r = SqlCompletion::at(u"SELECT Da");
    bool dateAdd = false;
    for (const SqlCompletion::Offer& o : SqlCompletion::offers(r, sampleNames(), u"SELECT Da")) {
        if (o.shown == QLatin1String("DateAdd")) {
            dateAdd = o.kind == SqlCompletion::Kind::Function && o.inserted == "DateAdd(";
        }
    }
    QVERIFY(dateAdd);
    // Inside a bracket only names are offered.
    for (const SqlCompletion::Offer& o :
         SqlCompletion::offers(SqlCompletion::at(u"["), sampleNames(), u"[")) {
        QVERIFY(o.kind != SqlCompletion::Kind::Function);
    }
}

void SqlSyntaxTest::historyWalksOlderAndNewer() {
    QueryHistory h;
    const QString db = QStringLiteral("/d/a.mdb");
    h.add(db, QStringLiteral("one"));
    h.add(db, QStringLiteral("two"));
    h.add(db, QStringLiteral("three"));
    QCOMPARE(h.statements(db), QStringList({"three", "two", "one"}));
    QCOMPARE(h.older(db, QStringLiteral("draft")).value(), QStringLiteral("three"));
    QCOMPARE(h.older(db, QStringLiteral("three")).value(), QStringLiteral("two"));
    QCOMPARE(h.older(db, QStringLiteral("two")).value(), QStringLiteral("one"));
    QVERIFY(!h.older(db, QStringLiteral("one")));
    QCOMPARE(h.newer(db, QStringLiteral("one")).value(), QStringLiteral("two"));
    QCOMPARE(h.newer(db, QStringLiteral("two")).value(), QStringLiteral("three"));
    QCOMPARE(h.newer(db, QStringLiteral("three")).value(), QStringLiteral("draft"));
    QVERIFY(!h.newer(db, QStringLiteral("draft")));
    // The box already holds the newest statement (it was just run): Ctrl+Up
    // goes to the one before it.
    QCOMPARE(h.older(db, QStringLiteral("three")).value(), QStringLiteral("two"));
    // Running an older statement again moves it up instead of repeating it.
    h.add(db, QStringLiteral("one"));
    QCOMPARE(h.statements(db), QStringList({"one", "three", "two"}));
}

void SqlSyntaxTest::historyKeepsEachDatabaseApartWithinLimits() {
    QueryHistory h;
    for (int i = 0; i < QueryHistory::kMaxStatements + 5; ++i) {
        h.add(QStringLiteral("a"), QStringLiteral("SELECT %1").arg(i));
    }
    h.add(QStringLiteral("b"), QStringLiteral("SELECT b"));
    h.add(QStringLiteral("a"), QStringLiteral("  "));
    QCOMPARE(h.statements(QStringLiteral("a")).size(), QueryHistory::kMaxStatements);
    QCOMPARE(h.statements(QStringLiteral("a")).first(),
             QStringLiteral("SELECT %1").arg(QueryHistory::kMaxStatements + 4));
    QCOMPARE(h.statements(QStringLiteral("b")), QStringList({"SELECT b"}));
    QCOMPARE(h.older(QStringLiteral("c"), QString()), std::nullopt);
    QCOMPARE(h.older(QStringLiteral("b"), QString()).value(), QStringLiteral("SELECT b"));
    // The walk belongs to one database.
    QCOMPARE(h.newer(QStringLiteral("a"), QStringLiteral("SELECT b")), std::nullopt);
    for (int d = 0; d < QueryHistory::kMaxDatabases + 2; ++d) {
        h.add(QStringLiteral("db%1").arg(d), QStringLiteral("x"));
    }
    QCOMPARE(h.databases().size(), QueryHistory::kMaxDatabases);
    QCOMPARE(h.databases().first(), QStringLiteral("db%1").arg(QueryHistory::kMaxDatabases + 1));
    QVERIFY(h.statements(QStringLiteral("a")).isEmpty());
}

void SqlSyntaxTest::historyWalkStartsOverFromAChangedText() {
    QueryHistory h;
    h.add(QStringLiteral("d"), QStringLiteral("one"));
    h.add(QStringLiteral("d"), QStringLiteral("two"));
    QCOMPARE(h.older(QStringLiteral("d"), QStringLiteral("")).value(), QStringLiteral("two"));
    QCOMPARE(h.older(QStringLiteral("d"), QStringLiteral("two")).value(), QStringLiteral("one"));
    // The user edits the recalled statement: it is the new starting text.
    QCOMPARE(h.older(QStringLiteral("d"), QStringLiteral("one!")).value(), QStringLiteral("two"));
    QCOMPARE(h.newer(QStringLiteral("d"), QStringLiteral("two")).value(), QStringLiteral("one!"));
}

QTEST_GUILESS_MAIN(SqlSyntaxTest)
#include "tst_sql_syntax.moc"
