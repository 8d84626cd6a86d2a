#include "childprocess.h"

#include <sys/wait.h>
#include <unistd.h>

std::string runInChild(const std::function<std::string()> &body, ChildUser user)
{
    int ends[2];
    if (pipe(ends) != 0)
        return "(no pipe)";
    const pid_t child = fork();
    if (child < 0)
        return "(no fork)";
    if (child == 0) {
        close(ends[0]);
        if (user == ChildUser::Unprivileged && geteuid() == 0
            && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        const std::string text = body();
        const ssize_t n = ::write(ends[1], text.data(), text.size());
        _exit(n == ssize_t(text.size()) ? 0 : 3);
    }
    close(ends[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "(child failed, status " + std::to_string(status) + ")";
    return text;
}
