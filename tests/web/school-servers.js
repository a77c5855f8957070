// Debian's nginx and Apache serving a site folder on 127.0.0.1, each configured
// as the guide tells a school: nginx with the site's admin/nginx.conf included
// in a server block of its own, Apache with the site's .htaccess allowed. The
// configuration, logs and runtime files live in a temporary folder; as root the
// workers run as www-data, who must be able to read the site.
'use strict';

const fs = require('fs');
const net = require('net');
const path = require('path');
const {spawn} = require('child_process');

const asRoot = process.getuid() === 0;

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer().once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const {port} = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function nginxConfig(site, dir, port) {
  fs.copyFileSync('/etc/nginx/mime.types', path.join(dir, 'mime.types'));
  const temp = ['client_body', 'proxy', 'fastcgi', 'uwsgi', 'scgi']
    .map(kind => `  ${kind}_temp_path ${dir}/${kind};`).join('\n');
  return {
    file: 'nginx.conf',
    text: `${asRoot ? 'user www-data;\n' : ''}daemon off;
worker_processes 1;
pid ${dir}/nginx.pid;
error_log ${dir}/error.log;
events { worker_connections 64; }
http {
  access_log ${dir}/access.log;
${temp}
  server {
    listen 127.0.0.1:${port};
    root ${site};
    include ${site}/admin/nginx.conf;
  }
}
`,
    command: ['/usr/sbin/nginx', '-e', `${dir}/error.log`, '-c', `${dir}/nginx.conf`],
  };
}

function apacheConfig(site, dir, port) {
  const modules = ['mpm_event', 'authz_core', 'mime', 'dir', 'filter', 'deflate']
    .map(name => `LoadModule ${name}_module /usr/lib/apache2/modules/mod_${name}.so`).join('\n');
  return {
    file: 'apache2.conf',
    text: `ServerRoot ${dir}
ServerName 127.0.0.1
Listen 127.0.0.1:${port}
PidFile ${dir}/apache2.pid
DefaultRuntimeDir ${dir}
ErrorLog ${dir}/error.log
LogFormat "%h %l %u %t \\"%r\\" %>s %b" common
CustomLog ${dir}/access.log common
${asRoot ? 'User www-data\nGroup www-data\n' : ''}${modules}
TypesConfig /etc/mime.types
DocumentRoot ${site}
DirectoryIndex index.html
<Directory />
  AllowOverride None
  Require all denied
</Directory>
<Directory ${site}>
  AllowOverride FileInfo
  Require all granted
</Directory>
<FilesMatch "^\\.ht">
  Require all denied
</FilesMatch>
`,
    command: ['/usr/sbin/apache2', '-DFOREGROUND', '-f', `${dir}/apache2.conf`],
  };
}

const Servers = {nginx: nginxConfig, apache: apacheConfig};

// Starts the server and resolves once it answers; stop() ends it.
async function startServer(name, site, dir) {
  fs.mkdirSync(dir, {recursive: true});
  const port = await freePort();
  const config = Servers[name](path.resolve(site), dir, port);
  fs.writeFileSync(path.join(dir, config.file), config.text);
  const child = spawn(config.command[0], config.command.slice(1), {stdio: ['ignore', 'ignore', 'pipe']});
  let errors = '';
  child.stderr.on('data', chunk => { errors += chunk; });
  const url = `http://127.0.0.1:${port}/`;
  const log = () => {
    const file = path.join(dir, 'error.log');
    return errors + (fs.existsSync(file) ? fs.readFileSync(file, 'utf8') : '');
  };
  for (let tries = 0; ; ++tries) {
    if (child.exitCode !== null)
      throw new Error(`${name} stopped at once: ${log()}`);
    const answered = await fetch(url).then(() => true, () => false);
    if (answered)
      break;
    if (tries > 100)
      throw new Error(`${name} does not answer on ${url}: ${log()}`);
    await new Promise(resolve => setTimeout(resolve, 100));
  }
  // The requests answered, from the access log (the same common format for both).
  const requests = () => fs.readFileSync(path.join(dir, 'access.log'), 'utf8').split('\n').filter(Boolean)
    .map(line => /"GET (\S+) [^"]*" (\d+)/.exec(line)).filter(Boolean).map(([, file, status]) => ({path: file, status: Number(status)}));
  return {
    name, url, log, requests,
    stop: () => new Promise(resolve => {
      if (child.exitCode !== null)
        return resolve();
      child.once('exit', resolve);
      child.kill('SIGTERM');
    }),
  };
}

module.exports = {startServer};
