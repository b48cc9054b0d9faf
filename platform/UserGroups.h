#pragma once
// Whether this process's user belongs to a group, as the process has it now (its group list,
// fixed at login) and as /etc/group has it (changed by usermod, effective at the next login).
#include <sys/types.h>

#include <string>

namespace platform {

struct GroupStanding {
    std::string user;          // this process's user name (or its uid)
    std::string group;         // the group's name (or its gid)
    bool inProcess = false;    // the effective gid or one of the supplementary groups
    bool inGroupFile = false;  // a member in the group file, or the user's primary group
};

GroupStanding groupStanding(gid_t gid, const std::string& groupFile = "/etc/group");

}  // namespace platform
