/* The floor: only the system calls a listing cannot avoid.
 * list DIR: getdents64 and fstatat(AT_SYMLINK_NOFOLLOW) per entry.
 * xattr DIR ITERATIONS NAME...: the same plus lgetxattr of each NAME per entry, repeated;
 * prints the median time of one pass in ns. */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

struct linux_dirent64 {
    unsigned long long d_ino;
    long long d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

/* Large enough for the fixture's values; the kernel clears as many bytes as offered. */
static char value[4096];

static long pass(const char* dir, char** names, int n_names) {
    int fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    char buf[32768];
    char path[4096];
    long count = 0;
    for (;;) {
        long n = syscall(SYS_getdents64, fd, buf, sizeof buf);
        if (n <= 0) break;
        for (long off = 0; off < n;) {
            struct linux_dirent64* d = (struct linux_dirent64*)(buf + off);
            off += d->d_reclen;
            if (strcmp(d->d_name, ".") == 0 || strcmp(d->d_name, "..") == 0) continue;
            struct stat st;
            fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW);
            if (n_names) {
                snprintf(path, sizeof path, "%s/%s", dir, d->d_name);
                for (int i = 0; i < n_names; ++i) lgetxattr(path, names[i], value, sizeof value);
            }
            ++count;
        }
    }
    close(fd);
    return count;
}

static int cmp(const void* a, const void* b) {
    long long x = *(const long long*)a, y = *(const long long*)b;
    return x < y ? -1 : x > y;
}

int main(int argc, char** argv) {
    if (argc >= 3 && strcmp(argv[1], "list") == 0) {
        long c = pass(argv[2], NULL, 0);
        printf("%ld\n", c);
        return c < 0;
    }
    if (argc >= 5 && strcmp(argv[1], "xattr") == 0) {
        int iters = atoi(argv[3]);
        long long* ns = malloc(sizeof(long long) * (size_t)iters);
        long c = 0;
        for (int i = 0; i < iters; ++i) {
            struct timespec t0, t1;
            clock_gettime(CLOCK_MONOTONIC, &t0);
            c = pass(argv[2], argv + 4, argc - 4);
            clock_gettime(CLOCK_MONOTONIC, &t1);
            ns[i] = (t1.tv_sec - t0.tv_sec) * 1000000000LL + (t1.tv_nsec - t0.tv_nsec);
        }
        qsort(ns, (size_t)iters, sizeof *ns, cmp);
        printf("%lld %ld\n", ns[iters / 2], c);
        free(ns);
        return 0;
    }
    fprintf(stderr, "usage: listing_floor list DIR | xattr DIR ITERATIONS NAME...\n");
    return 64;
}
