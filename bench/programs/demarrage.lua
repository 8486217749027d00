-- Start-up: a one-line program, to time the launch alone
print('bonjour')
