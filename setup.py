"""Builds the extension velk._core with the project's CMake.

The version is the one CMake's project() declares in CMakeLists.txt, which
the extension also reports as velk.__version__.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys

import pybind11
from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    found = re.search(r"project\s*\(\s*velk\b[^)]*\bVERSION\s+([0-9][0-9.]*)", text)
    if not found:
        raise RuntimeError("CMakeLists.txt: project(velk ...) declares no VERSION")
    return found.group(1)


class CMakeExtension(Extension):
    def __init__(self, name, target):
        super().__init__(name, sources=[])
        self.target = target


class CMakeBuild(build_ext):
    """Configures the project for no MEX host (no Octave needed), builds the
    extension's target and copies it where setuptools packages it."""

    def build_extension(self, ext):
        build_dir = pathlib.Path(self.build_temp).resolve() / "cmake"
        build_dir.mkdir(parents=True, exist_ok=True)
        cmake = shutil.which("cmake") or "cmake"
        subprocess.run([cmake, "-S", str(ROOT), "-B", str(build_dir),
                        "-DCMAKE_BUILD_TYPE=Release", "-DVELK_HOST=none",
                        "-DVELK_BUILD_TESTS=OFF", "-DVELK_BUILD_BENCH=OFF",
                        "-DVELK_BUILD_PYTHON=ON", f"-DPython_EXECUTABLE={sys.executable}",
                        f"-Dpybind11_DIR={pybind11.get_cmake_dir()}"], check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(min(os.cpu_count() or 1, 2)))
        subprocess.run([cmake, "--build", str(build_dir), "--target", ext.target,
                        "-j", jobs], check=True)
        (built,) = (build_dir / "python" / "velk").glob("_core.*")
        destination = pathlib.Path(self.get_ext_fullpath(ext.name))
        destination.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, destination)


# The build's own folder, apart from CMake's build/ of the Octave modules.
setup(version=project_version(), options={"build": {"build_base": "build-python"}},
      ext_modules=[CMakeExtension("velk._core", target="velk_python")],
      cmdclass={"build_ext": CMakeBuild})
