#!/usr/bin/python3
"""A card that lies, for the tests: a FUSE file system that passes every
call through to a backing folder and stores writes faithfully, but gives
back the first byte of a file changed whenever a file of the chosen name is
read from its start.

    lying_card.py BACKING MOUNTPOINT [NAME]

Pages written stay in the kernel's cache (keep_cache), as they do on a real
card: only a read that drops them first reaches the lie. With
LYING_CARD_READ_DELAY set, every read waits that many seconds: a slow card,
to watch what reads it. With LYING_CARD_PULL set, reading the chosen file
back pulls the card instead: the mount goes (lazily, as when a reader is
unplugged) and the read fails. Runs in the foreground until SIGTERM or
SIGINT, then unmounts.
"""
import errno
import os
import ctypes
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class LyingCard(Operations):
    use_ns = True

    def __init__(self, root, mount_point, lie):
        self.root = root
        self.mount_point = mount_point
        self.lie = lie
        self.pull = bool(os.environ.get('LYING_CARD_PULL'))
        self.delay = float(os.environ.get('LYING_CARD_READ_DELAY', '0'))

    def _path(self, path):
        return os.path.join(self.root, path.lstrip('/'))

    def _call(self, function, *args):
        try:
            return function(*args)
        except OSError as e:
            raise FuseOSError(e.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = self._call(os.lstat, self._path(path))
        attrs = {k: getattr(st, k) for k in ('st_mode', 'st_nlink', 'st_size', 'st_uid', 'st_gid')}
        attrs.update(st_atime=st.st_atime_ns, st_mtime=st.st_mtime_ns, st_ctime=st.st_ctime_ns)
        return attrs

    def readdir(self, path, fh):
        return ['.', '..'] + self._call(os.listdir, self._path(path))

    def mkdir(self, path, mode):
        self._call(os.mkdir, self._path(path), mode)

    def rmdir(self, path):
        self._call(os.rmdir, self._path(path))

    def unlink(self, path):
        self._call(os.unlink, self._path(path))

    def rename(self, old, new):
        self._call(os.rename, self._path(old), self._path(new))

    def chmod(self, path, mode):
        self._call(os.chmod, self._path(path), mode)

    def chown(self, path, uid, gid):
        pass

    def utimens(self, path, times=None):
        if times:
            self._call(lambda: os.utime(self._path(path), ns=times))
        else:
            self._call(os.utime, self._path(path))

    def truncate(self, path, length, fh=None):
        self._call(os.truncate, self._path(path), length)

    def statfs(self, path):
        s = self._call(os.statvfs, self._path(path))
        return {k: getattr(s, k) for k in ('f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail',
                                           'f_ffree', 'f_files', 'f_flag', 'f_frsize', 'f_namemax')}

    def open(self, path, fi):
        fi.fh = self._call(os.open, self._path(path), fi.flags & ~(os.O_CREAT | os.O_EXCL))
        fi.keep_cache = 1
        return 0

    def create(self, path, mode, fi):
        fi.fh = self._call(os.open, self._path(path), os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)
        fi.keep_cache = 1
        return 0

    def read(self, path, size, offset, fi):
        if self.delay:
            time.sleep(self.delay)
        if self.pull and self.lie and os.path.basename(path) == self.lie:
            # The system call itself: umount(8) would ask this file system,
            # busy here, about the mount point first.
            libc = ctypes.CDLL(None, use_errno=True)
            libc.umount2(os.fsencode(self.mount_point), 2)  # MNT_DETACH
            raise FuseOSError(errno.EIO)
        data = self._call(os.pread, fi.fh, size, offset)
        if self.lie and offset == 0 and data and os.path.basename(path) == self.lie:
            data = bytes([data[0] ^ 0xFF]) + data[1:]
        return data

    def write(self, path, data, offset, fi):
        return self._call(os.pwrite, fi.fh, data, offset)

    def flush(self, path, fi):
        return 0

    def fsync(self, path, datasync, fi):
        self._call(os.fsync, fi.fh)
        return 0

    def release(self, path, fi):
        os.close(fi.fh)
        return 0


if __name__ == '__main__':
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    card = LyingCard(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else '')
    FUSE(card, sys.argv[2], raw_fi=True, foreground=True, nothreads=True, fsname='lyingcard')
