#include "platform/UserGroups.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace platform {
namespace {

bool processHas(gid_t gid) {
    if (::getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

// "name:password:gid:member,member" lines; sets the group's name and whether `user` is listed.
bool findInGroupFile(const std::string& file, gid_t gid, const std::string& user,
                     std::string& name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream s(line);
        for (std::string f; std::getline(s, f, ':');) fields.push_back(f);
        if (fields.size() < 3 || fields[2] != std::to_string(gid)) continue;
        name = fields[0];
        std::stringstream members(fields.size() > 3 ? fields[3] : "");
        for (std::string m; std::getline(members, m, ',');)
            if (m == user) return true;
        return false;
    }
    return false;
}

}  // namespace

GroupStanding groupStanding(gid_t gid, const std::string& groupFile) {
    GroupStanding s;
    const uid_t uid = ::geteuid();
    std::vector<char> buf(16384);
    passwd pw{};
    passwd* user = nullptr;
    gid_t primary = static_cast<gid_t>(-1);
    if (::getpwuid_r(uid, &pw, buf.data(), buf.size(), &user) == 0 && user) {
        s.user = user->pw_name;
        primary = user->pw_gid;
    } else {
        s.user = std::to_string(uid);
    }
    s.group = std::to_string(gid);
    s.inProcess = processHas(gid);
    s.inGroupFile = findInGroupFile(groupFile, gid, s.user, s.group) || primary == gid;
    group g{};
    group* named = nullptr;
    if (s.group == std::to_string(gid) &&
        ::getgrgid_r(gid, &g, buf.data(), buf.size(), &named) == 0 && named)
        s.group = named->gr_name;  // a group from another source than the file
    return s;
}

}  // namespace platform
