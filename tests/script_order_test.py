"""The page's scripts, joined in the order src/web/CMakeLists.txt lists them:
each file uses only what it or an earlier one declares at its top level."""
import re
import sys

web = sys.argv[1]
files = re.findall(r'script/[\w-]+\.js', open(web + '/CMakeLists.txt').read())
declared, code = {}, {}
for index, name in enumerate(files):
    text = open(web + '/' + name).read()
    # Comments, strings and template texts name nothing.
    text = re.sub(r"//[^\n]*|/\*.*?\*/|'(?:\\.|[^'\\\n])*'|`[^`]*`", "''", text, flags=re.S)
    code[name] = text
    for match in re.finditer(r'^(?:async\s+)?(?:function\s*\*?|const|let|class)\s+([\w$]+)|^const\s+\[([^\]]+)\]', text, re.M):
        for word in [match.group(1)] if match.group(1) else match.group(2).split(','):
            declared.setdefault(word.strip(), index)
faults = []
for index, name in enumerate(files):
    own = set(re.findall(r'\b(?:function|const|let|class)\s+([\w$]+)', code[name]))
    for word, at in declared.items():
        if at <= index or word in own:
            continue
        # A use: the name, not a property (.name) nor an object's key (name:).
        if re.search(r'(?<![\w$.])' + re.escape(word) + r'(?![\w$])(?!\s*:)', code[name]):
            faults.append(f'{name} uses {word}, which the later {files[at]} declares')
print('\n'.join(faults) or f'ok: each of the {len(files)} scripts uses only what it or an earlier one declares')
sys.exit(1 if faults else 0)
