#include "sql/sql_completion.h"

#include <algorithm>

#include "sql/sql_syntax.h"

namespace sql {

namespace {

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isSeparator(QChar c) {
    return c == u'.' || c == u'!';
}

// The name that ends just before position `dot` of `text`: a bracketed name
// or a plain word; empty when there is none or the word is a number.
QString ownerBefore(QStringView text, int dot) {
    if (dot <= 0) {
        return {};
    }
    if (text[dot - 1] == u']') {
        const qsizetype open = text.left(dot - 1).lastIndexOf(u'[');
        return open < 0 ? QString() : text.mid(open + 1, dot - 2 - open).toString();
    }
    int start = dot;
    while (start > 0 && SqlSyntax::isWordCharacter(text[start - 1])) {
        --start;
    }
    if (start == dot || text[start].isDigit()) {
        return {};
    }
    return text.mid(start, dot - start).toString();
}

// The plain words and bracketed names of a statement in order, literals
// left out: enough to tell the tables used and their aliases.
QStringList namesIn(QStringView text) {
    QStringList names;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\'' || c == u'"' || c == u'#' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype end = text.indexOf(close, i + 1);
            if (end < 0) {
                end = text.size();
            }
            if (c == u'[') {
                names.append(text.mid(i + 1, end - i - 1).toString());
            }
            i = int(end) + 1;
        } else if (SqlSyntax::isWordCharacter(c)) {
            int end = i;
            while (end < text.size() && SqlSyntax::isWordCharacter(text[end])) {
                ++end;
            }
            names.append(text.mid(i, end - i).toString());
            i = end;
        } else {
            ++i;
        }
    }
    return names;
}

// The table or query `owner` stands for: itself, or the source it aliases
// ("Orders AS o", "Orders o").
const SqlNames::Source* resolve(const QString& owner, const SqlNames& names,
                                const QStringList& words) {
    if (const SqlNames::Source* direct = names.find(owner)) {
        return direct;
    }
    for (int i = 1; i < words.size(); ++i) {
        if (!sameName(words[i], owner)) {
            continue;
        }
        int s = i - 1;
        if (s > 0 && sameName(words[s], u"AS")) {
            --s;
        }
        if (const SqlNames::Source* source = names.find(words[s])) {
            return source;
        }
    }
    return nullptr;
}

QString plainOrBracketed(const QString& name) {
    return SqlSyntax::needsBrackets(name) ? QStringLiteral("[%1]").arg(name) : name;
}

void addFields(const SqlNames::Source& source, bool bracketOpen,
               std::vector<SqlCompletion::Offer>& offers) {
    for (const QString& field : source.fields) {
        offers.push_back({field, bracketOpen ? field + u']' : plainOrBracketed(field),
                          SqlCompletion::Kind::Field});
    }
}

}  // namespace

const SqlNames::Source* SqlNames::find(QStringView name) const {
    for (const Source& s : sources) {
        if (sameName(s.name, name)) {
            return &s;
        }
    }
    return nullptr;
}

SqlCompletion::Request SqlCompletion::at(QStringView before) {
    Request r;
    const SqlSyntax::State state = SqlSyntax::stateAtEnd(before);
    if (state == SqlSyntax::InBracket) {
        const int open = int(before.lastIndexOf(u'['));
        r.start = open + 1;
        r.prefix = before.mid(r.start).toString();
        r.bracketOpen = true;
        if (open > 0 && isSeparator(before[open - 1])) {
            r.owner = ownerBefore(before, open - 1);
        }
        r.context = r.owner.isEmpty() ? Context::InBracket : Context::Member;
        return r;
    }
    if (state != SqlSyntax::Plain) {
        return r;
    }
    int start = int(before.size());
    while (start > 0 && SqlSyntax::isWordCharacter(before[start - 1])) {
        --start;
    }
    r.start = start;
    r.prefix = before.mid(start).toString();
    if (start > 0 && isSeparator(before[start - 1])) {
        r.owner = ownerBefore(before, start - 1);
        r.context = r.owner.isEmpty() ? Context::None : Context::Member;
        return r;
    }
    r.context = Context::Anywhere;
    return r;
}

std::vector<SqlCompletion::Offer> SqlCompletion::offers(const Request& request,
                                                        const SqlNames& names,
                                                        QStringView statement) {
    std::vector<Offer> offers;
    const QStringList words = namesIn(statement);
    if (request.context == Context::Member) {
        if (const SqlNames::Source* source = resolve(request.owner, names, words)) {
            addFields(*source, request.bracketOpen, offers);
        }
    } else if (request.context != Context::None) {
        const bool bracketed = request.context == Context::InBracket;
        for (const SqlNames::Source& s : names.sources) {
            offers.push_back({s.name, bracketed ? s.name + u']' : plainOrBracketed(s.name),
                              s.query ? Kind::Query : Kind::Table});
        }
        // The fields of the tables and queries the statement names.
        for (const SqlNames::Source& s : names.sources) {
            const bool named = std::any_of(words.begin(), words.end(),
                                           [&s](const QString& w) { return sameName(w, s.name); });
            if (named) {
                addFields(s, bracketed, offers);
            }
        }
        if (!bracketed) {
            for (const QString& f : SqlSyntax::functionNames()) {
                offers.push_back({f, f + u'(', Kind::Function});
            }
        }
    }
    std::stable_sort(offers.begin(), offers.end(), [](const Offer& a, const Offer& b) {
        return a.shown.compare(b.shown, Qt::CaseInsensitive) < 0;
    });
    // A field two named tables share is offered once.
    offers.erase(std::unique(offers.begin(), offers.end(),
                             [](const Offer& a, const Offer& b) {
                                 return a.shown == b.shown && a.kind == b.kind;
                             }),
                 offers.end());
    return offers;
}

}  // namespace sql
