#pragma once

#include <functional>
#include <string>

// Runs `body` in a forked child and returns the text it gave back, or a line that says how the
// child failed. A refusal by file permissions stops nobody who runs as root, as CI does, so the
// child first becomes the unprivileged user when asked.
enum class ChildUser { Unprivileged, Same };

std::string runInChild(const std::function<std::string()> &body,
                       ChildUser user = ChildUser::Unprivileged);
