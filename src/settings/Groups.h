#pragma once
// Loading and saving the whole group list, as the main view does at its
// creation and destruction (and lumivexctl around its edits). The list holds
// the All group first, then the named groups in tab order.
#include <memory>
#include <string>
#include <vector>

#include "settings/GroupItem.h"
#include "settings/GroupItem2.h"

using GroupList = std::vector<std::unique_ptr<CGroupItem>>;

// Replaces groups with the stored list: the All group (named allName), then
// each stored named group. -1 when a stored record of the All group cannot be
// read; groups then holds the All group with the records read before it, and
// error (when given) says which value failed.
int LoadGroups(GroupList& groups, const std::string& allName, std::string* error = nullptr);

// Replaces the stored group sections with groups, deleting the old ones and
// writing the new ones as one atomic replacement of the file, so that an
// interruption leaves either the old list or the new one. -1 when the file
// could not be written; it then holds the old list. groups is left as it was.
int SaveGroups(const GroupList& groups);
