#include "DateTimeObject.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "Broker.h"
#include "StringObject.h"

namespace cimhost {

namespace {

DateTimeObject* self(const CMPIDateTime* dt) { return ownerOf<DateTimeObject>(dt); }

CMPIStatus release(CMPIDateTime* dt)
{
    DateTimeObject* o = self(dt);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIDateTime* clone(const CMPIDateTime* dt, CMPIStatus* rc)
{
    DateTimeObject* o = self(dt);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &DateTimeObject::create(o->broker, o->broker->ownArena(), o->microseconds, o->interval)
                ->cell.cmpi;
}

CMPIUint64 getBinaryFormat(const CMPIDateTime* dt, CMPIStatus* rc)
{
    DateTimeObject* o = self(dt);
    setStatus(rc, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o ? o->microseconds : 0;
}

// CIM text forms: "yyyymmddhhmmss.mmmmmm+utc" and "ddddddddhhmmss.mmmmmm:000".
} // namespace

std::string DateTimeObject::text() const
{
    const DateTimeObject* o = this;
    char buf[96];
    CMPIUint64 us = o->microseconds;
    if (o->interval) {
        unsigned long long secs = us / 1000000ULL;
        std::snprintf(buf, sizeof buf, "%08llu%02llu%02llu%02llu.%06llu:000", secs / 86400ULL,
                      (secs / 3600ULL) % 24ULL, (secs / 60ULL) % 60ULL, secs % 60ULL,
                      static_cast<unsigned long long>(us % 1000000ULL));
        return buf;
    }
    time_t secs = static_cast<time_t>(us / 1000000ULL);
    struct tm t;
    gmtime_r(&secs, &t);
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d.%06llu+000", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  static_cast<unsigned long long>(us % 1000000ULL));
    return buf;
}

namespace {

CMPIString* getStringFormat(const CMPIDateTime* dt, CMPIStatus* rc)
{
    DateTimeObject* o = self(dt);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(o->broker, targetArena(o->broker), o->text());
}

CMPIBoolean isInterval(const CMPIDateTime* dt, CMPIStatus* rc)
{
    DateTimeObject* o = self(dt);
    setStatus(rc, o ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_HANDLE);
    return o && o->interval ? 1 : 0;
}

CMPIDateTimeFT dateTimeFT = {CMPICurrentVersion, release, clone, getBinaryFormat, getStringFormat,
                             isInterval};

bool digits(const char* s, int n, unsigned long long& out)
{
    out = 0;
    for (int i = 0; i < n; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
        out = out * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return true;
}

} // namespace

const void* DateTimeObject::functionTable() { return &dateTimeFT; }

DateTimeObject* DateTimeObject::create(Broker* broker, Arena& arena, CMPIUint64 microseconds,
                                       bool interval)
{
    DateTimeObject* object = arena.make<DateTimeObject>(arena.memory());
    object->microseconds = microseconds;
    object->interval = interval;
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &dateTimeFT;
    return object;
}

DateTimeObject* DateTimeObject::parse(Broker* broker, Arena& arena, const char* text)
{
    if (!text || std::strlen(text) != 25 || text[14] != '.')
        return nullptr;
    unsigned long long a, h, m, s, us, off;
    if (!digits(text + 8, 2, h) || !digits(text + 10, 2, m) || !digits(text + 12, 2, s) ||
        !digits(text + 15, 6, us) || !digits(text + 22, 3, off))
        return nullptr;
    if (text[21] == ':') {
        if (!digits(text, 8, a) || h > 23 || m > 59 || s > 59)
            return nullptr;
        CMPIUint64 total = (((a * 24 + h) * 60 + m) * 60 + s) * 1000000ULL + us;
        return create(broker, arena, total, true);
    }
    if (text[21] != '+' && text[21] != '-')
        return nullptr;
    unsigned long long year, month, day;
    if (!digits(text, 4, year) || !digits(text + 4, 2, month) || !digits(text + 6, 2, day) ||
        month < 1 || month > 12 || day < 1 || day > 31 || h > 23 || m > 59 || s > 60 || year < 1970)
        return nullptr;
    struct tm t;
    std::memset(&t, 0, sizeof t);
    t.tm_year = static_cast<int>(year) - 1900;
    t.tm_mon = static_cast<int>(month) - 1;
    t.tm_mday = static_cast<int>(day);
    t.tm_hour = static_cast<int>(h);
    t.tm_min = static_cast<int>(m);
    t.tm_sec = static_cast<int>(s);
    long long secs = static_cast<long long>(timegm(&t));
    long long offset = static_cast<long long>(off) * 60;
    secs += text[21] == '+' ? -offset : offset;
    if (secs < 0)
        return nullptr;
    return create(broker, arena, static_cast<CMPIUint64>(secs) * 1000000ULL + us, false);
}

} // namespace cimhost
